#include <algorithm>

#include <QDir>
#include <QProcess>
#include <QtTest>

#include "SearchDiary.h"
#include "platform/jet/Database.h"

// velmora-cli list run as the offices run it: a separate process over a diary file.
class TestVelmoraCliList : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void listsTheSampleDiary_data();
    void listsTheSampleDiary();
    void refusesWhatItCannotUse_data();
    void refusesWhatItCannotUse();
    void helpIsNoFailure();
    void aRenumberingMeanwhileLeavesTheListWhole();

private:
    struct Run {
        int exitCode = -1;
        QStringList lines; // standard output, split at CRLF
        QString error;
    };
    Run list(const QStringList& arguments);

    SearchDiary m_diary;
};

TestVelmoraCliList::Run TestVelmoraCliList::list(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(VELMORA_CLI), QStringList{QStringLiteral("list")} + arguments);
    if (!process.waitForFinished(60000))
        qFatal("velmora-cli did not finish");
    Run run;
    run.exitCode = process.exitCode();
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    run.lines = out.split(QStringLiteral("\r\n"));
    if (run.lines.last().isEmpty())
        run.lines.removeLast();
    run.error = QString::fromUtf8(process.readAllStandardError());
    return run;
}

void TestVelmoraCliList::initTestCase()
{
    m_diary.loadSample();
}

void TestVelmoraCliList::listsTheSampleDiary_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<int>("records");
    QTest::addColumn<QString>("header");
    const QString programmes =
        QStringLiteral("ಕ್ರಮಸಂಖ್ಯೆ,ದಿನಾಂಕ,ದಿನ,ಸಮಯ,ವಿಷಯ,ಸ್ಥಳ,ವಿಳಾಸ,ದೂರವಾಣಿ ಸಂಖ್ಯೆ,ಸಂಪರ್ಕ ವ್ಯಕ್ತಿ,ಇತರೆ");
    QTest::newRow("every local programme")
        << QStringList{QStringLiteral("local")} << 0 << 60 << programmes;
    QTest::newRow("outstation") << QStringList{QStringLiteral("outstation")} << 0 << 30
                                << programmes;
    QTest::newRow("nothing in the range")
        << QStringList{QStringLiteral("local"), QStringLiteral("--from"),
                       QStringLiteral("2099-01-01")}
        << 1 << 0 << programmes;
    QTest::newRow("tours from a place typed in Kannada")
        << QStringList{QStringLiteral("tour"), QStringLiteral("--from-place"),
                       QStringLiteral("ಮಂಗಳೂ")}
        << 0 << -1 << QStringLiteral("ಕ್ರಮಸಂಖ್ಯೆ,ಎಲ್ಲಿಂದ,ಎಲ್ಲಿಗೆ");
}

void TestVelmoraCliList::listsTheSampleDiary()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(int, records);
    QFETCH(QString, header);
    const Run run = list(arguments + QStringList{QStringLiteral("--diary"), m_diary.diaryPath()});
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY(run.lines.first().startsWith(header));
    if (records >= 0)
        QCOMPARE(run.lines.size() - 1, records);
    else
        QVERIFY(run.lines.size() > 1);
    static const QRegularExpression programme(
        QStringLiteral("^\\d+,\\d{4}-\\d\\d-\\d\\d,[^,]*,\\d\\d:\\d\\d,"));
    static const QRegularExpression tour(QStringLiteral("^\\d+,ಮಂಗಳೂ"));
    const QRegularExpression& row = arguments.first() == QLatin1String("tour") ? tour : programme;
    for (int i = 1; i < run.lines.size(); ++i)
        QVERIFY2(row.match(run.lines[i]).hasMatch(), qPrintable(run.lines[i]));
}

void TestVelmoraCliList::refusesWhatItCannotUse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no register") << QStringList{};
    QTest::newRow("unknown register") << QStringList{QStringLiteral("people")};
    QTest::newRow("unknown option") << QStringList{QStringLiteral("local"), QStringLiteral("--at")};
    QTest::newRow("not a date") << QStringList{QStringLiteral("local"), QStringLiteral("--from"),
                                               QStringLiteral("5/3/2027")};
    QTest::newRow("not a time") << QStringList{QStringLiteral("local"), QStringLiteral("--after"),
                                               QStringLiteral("25:00:00")};
    QTest::newRow("a place with no Varnel form") << QStringList{
        QStringLiteral("tour"), QStringLiteral("--to-place"), QStringLiteral("Mysore")};
    QTest::newRow("a place for programmes") << QStringList{
        QStringLiteral("local"), QStringLiteral("--from-place"), QStringLiteral("ಬ")};
    QTest::newRow("a missing diary") << QStringList{
        QStringLiteral("local"), QStringLiteral("--diary"), QStringLiteral("MISSING")};
}

void TestVelmoraCliList::refusesWhatItCannotUse()
{
    QFETCH(QStringList, arguments);
    QStringList args = arguments;
    if (!args.contains(QStringLiteral("--diary")))
        args << QStringLiteral("--diary") << m_diary.diaryPath();
    const QString junk = QDir(m_diary.folder()).filePath(QStringLiteral("junk.mdb"));
    QFile file(junk);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(2048, 'x'));
    file.close();
    args.replaceInStrings(QStringLiteral("JUNK"), junk);
    args.replaceInStrings(QStringLiteral("MISSING"),
                          QDir(m_diary.folder()).filePath(QStringLiteral("other.mdb")));
    const Run run = list(args);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.lines.isEmpty());
    QCOMPARE(run.error.count(QLatin1Char('\n')), 1);
    QVERIFY(run.error.startsWith(QStringLiteral("velmora-cli list: ")));
    QVERIFY(!QFile::exists(QDir(m_diary.folder()).filePath(QStringLiteral("other.mdb"))));
    QCOMPARE(QFileInfo(junk).size(), 2048); // left as it was
}

void TestVelmoraCliList::helpIsNoFailure()
{
    const Run run = list({QStringLiteral("--help")});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.lines.join(QLatin1Char('\n')).contains(QStringLiteral("--from-place")));
}

// A deletion and its renumbering committed by another program while the list is being written
// (velmora-cli held in a write to a full pipe): the list is the diary of one moment, each sl_no
// once, none missing.
void TestVelmoraCliList::aRenumberingMeanwhileLeavesTheListWhole()
{
    SearchDiary diary;
    diary.loadSample();
    // 60 programmes a hundred times over: far more than a pipe holds.
    diary.db().Execute(QStringLiteral(
        "WITH RECURSIVE n(k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM n WHERE k < 99) "
        "INSERT INTO local SELECT l.sl_no + 60 * k, tarna_date, day_name, tarna_time, topic, "
        "venue, address, telephone, contact_person, others FROM local l, n"));
    QProcess cli;
    cli.start(QStringLiteral(VELMORA_CLI), {QStringLiteral("list"), QStringLiteral("local"),
                                            QStringLiteral("--diary"), diary.diaryPath()});
    QVERIFY(cli.waitForReadyRead(30000));
    diary.db().BeginTrans();
    diary.db().Execute(QStringLiteral("DELETE FROM local WHERE sl_no = 1"));
    diary.db().Execute(QStringLiteral("UPDATE local SET sl_no = -sl_no"));
    diary.db().Execute(QStringLiteral("UPDATE local SET sl_no = -sl_no - 1"));
    diary.db().CommitTrans();
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitCode(), 0);
    QStringList lines =
        QString::fromUtf8(cli.readAllStandardOutput()).split(QStringLiteral("\r\n"));
    lines.removeFirst(); // the header
    lines.removeLast();  // after the last CRLF
    QList<int> serials;
    for (const QString& line : lines)
        serials << line.section(QLatin1Char(','), 0, 0).toInt();
    std::sort(serials.begin(), serials.end());
    QCOMPARE(serials.size(), 6000);
    for (int i = 0; i < serials.size(); ++i)
        QCOMPARE(serials[i], i + 1);
}

QTEST_GUILESS_MAIN(TestVelmoraCliList)
#include "tst_velmora_cli_list.moc"
