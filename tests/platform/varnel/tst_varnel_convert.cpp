#include <QProcess>
#include <QtTest>

class TestVarnelConvert : public QObject {
    Q_OBJECT
private slots:
    void converts_data();
    void converts();
    void refusesWithTheFirstCharacterNamed();
    void rejectsBadArguments_data();
    void rejectsBadArguments();
    void failsWhenStandardOutputCannotBeWritten();
};

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run convert(const QStringList& args, const QByteArray& input, const QString& outFile = {})
{
    QProcess p;
    if (!outFile.isEmpty())
        p.setStandardOutputFile(outFile);
    p.start(QStringLiteral(VARNEL_CONVERT), args);
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(30000))
        return {};
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

} // namespace

void TestVarnelConvert::converts_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("output");
    const QByteArray varnel("\xA2\xA3\xC1\x41\x50\xC0\x0A\x31\x2E\x30\x0A"); // ದಿನಾಂಕ / 1.0
    const QByteArray utf8 = QStringLiteral("ದಿನಾಂಕ\n೧.೦\n").toUtf8();
    QTest::newRow("to unicode") << QStringLiteral("--to-unicode") << varnel << utf8;
    QTest::newRow("to varnel") << QStringLiteral("--to-varnel") << utf8 << varnel;
    QTest::newRow("empty") << QStringLiteral("--to-varnel") << QByteArray() << QByteArray();
    // A legacy document may hold bytes no glyph stands for; they come out visibly unknown.
    QTest::newRow("unknown byte") << QStringLiteral("--to-unicode") << QByteArray("\x50\xC0\xFF")
                                  << QStringLiteral("ಕ\uFFFD").toUtf8();
}

void TestVarnelConvert::converts()
{
    QFETCH(QString, mode);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, output);
    const Run r = convert({mode}, input);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, output);
    QVERIFY(r.err.isEmpty());
}

void TestVarnelConvert::refusesWithTheFirstCharacterNamed()
{
    const Run r =
        convert({QStringLiteral("--to-varnel")}, QStringLiteral("ಕನ್ನಡ\nಹೊಸ Text ಕ").toUtf8());
    QCOMPARE(r.exitCode, 2);
    QVERIFY(r.out.isEmpty());
    const QString err = QString::fromUtf8(r.err);
    QVERIFY2(err.contains(QStringLiteral(u"«T» (U+0054, ಸಾಲು 2, ಕಾಲಮ್ 5)")), qPrintable(err));
    QVERIFY2(err.contains(QStringLiteral(u"ಇಂಥ 4 ಅಕ್ಷರ")), qPrintable(err));
    QCOMPARE(err.count(QLatin1Char('\n')), 1);
}

void TestVarnelConvert::rejectsBadArguments_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("none") << QStringList();
    QTest::newRow("unknown") << QStringList{QStringLiteral("--to-latin")};
    QTest::newRow("both") << QStringList{QStringLiteral("--to-unicode"),
                                         QStringLiteral("--to-varnel")};
}

void TestVarnelConvert::rejectsBadArguments()
{
    QFETCH(QStringList, args);
    const Run r = convert(args, QByteArray("\x50\xC0"));
    QCOMPARE(r.exitCode, 2);
    QVERIFY(r.out.isEmpty());
    QVERIFY(r.err.contains("varnel-convert --to-unicode | --to-varnel"));
    QCOMPARE(r.err.count('\n'), 1);
}

// A full disk behind standard output is exit 3, not a silently short file.
void TestVarnelConvert::failsWhenStandardOutputCannotBeWritten()
{
    const Run r = convert({QStringLiteral("--to-unicode")}, QByteArray("\x50\xC0\x0A"),
                          QStringLiteral("/dev/full"));
    QCOMPARE(r.exitCode, 3);
    QCOMPARE(r.err.count('\n'), 1);
}

QTEST_GUILESS_MAIN(TestVarnelConvert)
#include "tst_varnel_convert.moc"
