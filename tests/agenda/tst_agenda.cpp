#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "EngagementFixture.h"
#include "SampleDiary.h"
#include "agenda/Agenda.h"
#include "platform/jet/Database.h"
#include "platform/jet/Recordset.h"

using engagements::Entry;

class TestAgenda : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void tourDays_data();
    void tourDays();
    void commandLine_data();
    void commandLine();
    void sampleDiaryAgendaListsEveryProgramme();
    void olderDiaryGetsTheArrivalIndex();

private:
    struct Run {
        int exitCode = -1;
        QStringList lines;
    };
    Run cli(const QStringList& arguments, int clashMinutesSetting = -1);

    QTemporaryDir m_dir;
    QString m_diary;
    std::shared_ptr<jet::Database> m_db;
};

void TestAgenda::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_diary = m_dir.filePath(QStringLiteral("Tarnalist.mdb"));
    m_db = fixtureDiary(m_dir.path());
}

void TestAgenda::tourDays_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("lines"); // "date time register-serial kind", ! when marked

    // The range is 2027-03-02 to 2027-03-04.
    QTest::newRow("departure, a day on tour, arrival")
        << QStringList{"T1 2027-03-02 08:00 2027-03-04 20:00"}
        << QStringList{"03-02 08:00 T1 1", "03-03 - T1 2", "03-04 20:00 T1 3"};
    QTest::newRow("left before the range, arrives after it")
        << QStringList{"T1 2027-02-20 08:00 2027-03-10 20:00"}
        << QStringList{"03-02 - T1 2", "03-03 - T1 2", "03-04 - T1 2"};
    QTest::newRow("overnight: no day between")
        << QStringList{"T1 2027-03-03 22:00 2027-03-04 06:00"}
        << QStringList{"03-03 22:00 T1 1", "03-04 06:00 T1 3"};
    QTest::newRow("one day: once, at the departure")
        << QStringList{"T1 2027-03-03 08:00 2027-03-03 18:00"} << QStringList{"03-03 08:00 T1 4"};
    QTest::newRow("arrival time before departure: once")
        << QStringList{"T1 2027-03-03 18:00 2027-03-03 08:00"} << QStringList{"03-03 18:00 T1 4"};
    QTest::newRow("arrival date before departure: once, on the departure day")
        << QStringList{"T1 2027-03-03 18:00 2027-02-25 08:00"} << QStringList{"03-03 18:00 T1 4"};
    QTest::newRow("outside the range") << QStringList{"T1 2027-03-05 08:00 2027-03-07 08:00",
                                                      "T2 2027-02-25 08:00 2027-03-01 22:00"}
                                       << QStringList{};
    QTest::newRow("a day on tour first; the tour marked on the day it holds a programme")
        << QStringList{"T1 2027-03-01 08:00 2027-03-03 07:00", "L1 2027-03-02 06:00",
                       "O1 2027-03-02 05:00", "L2 2027-03-03 07:00"}
        << QStringList{"03-02 - T1 2 !", "03-02 05:00 O1 0", "03-02 06:00 L1 0 !",
                       "03-03 07:00 L2 0", "03-03 07:00 T1 3"};
}

void TestAgenda::tourDays()
{
    QFETCH(QStringList, entries);
    QList<Entry> programmes, tours;
    split(entries, programmes, tours);
    const QList<agenda::AgendaDay> days =
        agenda::buildAgenda(QDate(2027, 3, 2), 3, programmes, tours, 0).days;
    QCOMPARE(days.size(), 3);
    QStringList lines;
    for (const agenda::AgendaDay& day : days) {
        for (const agenda::AgendaLine& line : day.lines) {
            QCOMPARE(line.date, day.date);
            lines << QStringLiteral("%1 %2 %3 %4%5")
                         .arg(line.date.toString(QStringLiteral("MM-dd")),
                              line.time.isValid() ? line.time.toString(QStringLiteral("HH:mm"))
                                                  : QStringLiteral("-"),
                              nameOf(line.entry))
                         .arg(int(line.kind))
                         .arg(line.clashes.isEmpty() ? QString() : QStringLiteral(" !"));
        }
    }
    QTEST(lines, "lines");
}

TestAgenda::Run TestAgenda::cli(const QStringList& arguments, int clashMinutesSetting)
{
    // The settings file of the program, in a home of its own.
    QTemporaryDir config;
    if (clashMinutesSetting >= 0) {
        QDir(config.path()).mkpath(QStringLiteral("Velmora"));
        QFile ini(config.filePath(QStringLiteral("Velmora/Velmora.ini")));
        if (!ini.open(QIODevice::WriteOnly))
            qFatal("cannot write the settings file");
        ini.write("[agenda]\nclash-minutes=" + QByteArray::number(clashMinutesSetting) + "\n");
    }
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VELMORA_CLI), arguments);
    if (!process.waitForFinished(60000))
        qFatal("velmora-cli did not finish");
    Run run{process.exitCode(), {}};
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    if (!out.isEmpty())
        run.lines = out.chopped(2).split(QStringLiteral("\r\n"));
    return run;
}

void TestAgenda::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("setting"); // clash-minutes in the settings file, -1: none
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("lines"); // a number alone: how many lines

    const QString meeting = QStringLiteral(u"ಸಭೆ"), trip = QStringLiteral(u": ಬೆಂಗಳೂರು - ಮೈಸೂರು");
    QTest::newRow("agenda of four days")
        << QStringList{"agenda", "--from", "2027-03-01", "--days", "4"} << -1 << 0
        << QStringList{"2027-03-01,10:00,local,1,\"" + meeting + QStringLiteral(u", ಬೆಂಗಳೂರು\""),
                       "2027-03-01,10:59,local,2," + meeting,
                       "2027-03-01,11:30,outstation,1," + meeting,
                       "2027-03-01,11:59,local,3," + meeting,
                       QStringLiteral(u"2027-03-02,08:00,tour,1,ನಿರ್ಗಮನ") + trip,
                       QStringLiteral(u"2027-03-03,,tour,1,ಪ್ರವಾಸದಲ್ಲಿ") + trip,
                       "2027-03-03,12:00,local,4," + meeting,
                       "2027-03-03,12:30,outstation,2," + meeting,
                       "2027-03-04,20:00,local,5," + meeting,
                       QStringLiteral(u"2027-03-04,20:00,tour,1,ಆಗಮನ") + trip};
    QTest::newRow("a tour arriving before it leaves, once")
        << QStringList{"agenda", "--from", "2027-03-06", "--days", "1"} << -1 << 0
        << QStringList{QStringLiteral(u"2027-03-06,09:00,tour,2,ಪ್ರವಾಸ: ಮೈಸೂರು - ಬೆಂಗಳೂರು")};
    QTest::newRow("agenda of an empty week")
        << QStringList{"agenda", "--from", "2027-04-01"} << -1 << 1 << QStringList{};
    QTest::newRow("clashes at the default 60 minutes")
        << QStringList{"clashes"} << -1 << 0
        << QStringList{"local,1,local,2,time", "local,2,outstation,1,time",
                       "outstation,1,local,3,time", "tour,1,local,4,tour",
                       "local,4,outstation,2,time"};
    QTest::newRow("clashes of one day")
        << QStringList{"clashes", "--from", "2027-03-03", "--to", "2027-03-03"} << -1 << 0
        << QStringList{"tour,1,local,4,tour", "local,4,outstation,2,time"};
    QTest::newRow("--within 0 leaves the tour") << QStringList{"clashes", "--within", "0"} << 120
                                                << 0 << QStringList{"tour,1,local,4,tour"};
    QTest::newRow("the settings file's 120 minutes")
        << QStringList{"clashes"} << 120 << 0 << QStringList{"8"};
    QTest::newRow("no clashes in the range")
        << QStringList{"clashes", "--from", "2027-03-05"} << -1 << 1 << QStringList{};
    for (const QStringList& bad :
         {QStringList{"agenda", "--days", "0"}, QStringList{"agenda", "--from", "2027-02-30"},
          QStringList{"clashes", "--within", "-5"}, QStringList{"clashes", "--within", "1h"},
          QStringList{"clashes", "extra"}})
        QTest::newRow(qPrintable(bad.join(QLatin1Char(' ')))) << bad << -1 << 2 << QStringList{};
    QTest::newRow("a missing diary")
        << QStringList{"agenda", "--diary", "MISSING"} << -1 << 2 << QStringList{};
}

void TestAgenda::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, setting);
    QFETCH(QStringList, lines);
    QStringList args = arguments;
    args.replaceInStrings(QStringLiteral("MISSING"), m_dir.filePath(QStringLiteral("none.mdb")));
    if (!args.contains(QStringLiteral("--diary")))
        args << QStringLiteral("--diary") << m_diary;
    const Run run = cli(args, setting);
    QTEST(run.exitCode, "exitCode");
    if (lines.size() == 1 && lines.first().toInt() > 0)
        QCOMPARE(run.lines.size(), lines.first().toInt());
    else
        QCOMPARE(run.lines, lines);
}

void TestAgenda::sampleDiaryAgendaListsEveryProgramme()
{
    QTemporaryDir folder;
    openSampleDiary(folder.path());
    const Run run = cli({"agenda", "--from", "2026-01-01", "--days", "1000", "--diary",
                         folder.filePath(QStringLiteral("Tarnalist.mdb"))});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.lines.filter(QRegularExpression(QStringLiteral(",(local|outstation),"))).size(),
             90);
    QCOMPARE(run.lines, [&] {
        QStringList sorted = run.lines;
        std::stable_sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
            return a.left(16) < b.left(16);
        });
        return sorted;
    }());
}

// A diary made before the arrivals' index gives the same agenda without it (inside a write,
// where it is not added) and with it (added at the first read outside one).
void TestAgenda::olderDiaryGetsTheArrivalIndex()
{
    QTemporaryDir folder;
    const auto db = fixtureDiary(folder.path());
    db->Execute(QStringLiteral("DROP INDEX tour_by_arrival"));
    const auto indexed = [&] {
        return db->OpenRecordset(QStringLiteral("Select name from sqlite_master where "
                                                "name='tour_by_arrival'"),
                                 jet::RecordsetType::Snapshot)
                   ->RecordCount() == 1;
    };
    const auto agendaLines = [&] {
        QStringList lines;
        const agenda::Agenda week = agenda::readAgenda(*db, QDate(2027, 3, 1), 7, 60);
        for (const agenda::AgendaDay& day : week.days) {
            for (const agenda::AgendaLine& line : day.lines)
                lines << nameOf(line.entry) + line.date.toString() + line.text() +
                             QString::number(line.clashes.size());
        }
        return lines;
    };
    db->BeginTrans();
    const QStringList without = agendaLines();
    QVERIFY(!indexed());
    db->Rollback();
    QCOMPARE(agendaLines(), without);
    // A program that only reads leaves the diary as it is; the next one to open it for writing
    // adds the index as it opens it.
    const QString diary = folder.filePath(QStringLiteral("Tarnalist.mdb"));
    QCOMPARE(cli({"agenda", "--from", "2027-03-01", "--days", "7", "--diary", diary}).exitCode, 0);
    QVERIFY(!indexed());
    QCOMPARE(cli({"deleted", "restore", "local", "999", "--diary", diary}).exitCode, 2);
    QVERIFY(indexed());
    QCOMPARE(without.size(), 11);
}

QTEST_GUILESS_MAIN(TestAgenda)
#include "tst_agenda.moc"
