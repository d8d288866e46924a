#include <QFile>
#include <QProcess>
#include <QtTest>

#include "SampleDiary.h"
#include "TempProgramFolder.h"
#include "platform/jet/Database.h"
#include "platform/varnel/VarnelCodec.h"
#include "reports/ReportRegister.h"

using reports::ReportRegister;

// velmora-cli report run as a script would run it: exit statuses, the PDF written or not, the
// notice of an empty range on standard error.
class TestReportCommand : public QObject {
    Q_OBJECT

private slots:
    void exitsAndWrites_data();
    void exitsAndWrites();
};

void TestReportCommand::exitsAndWrites_data()
{
    QTest::addColumn<QStringList>("arguments"); // $T is the template folder
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QString>("saysOnStderr");
    const QStringList week{"--from", "2027-01-01", "--to", "2027-01-31"};
    const QString localNotice = varnel::decode(ReportRegister::local().notice);
    QTest::newRow("local month") << QStringList{"local"} + week << 0 << true << QString();
    QTest::newRow("tour month") << QStringList{"tour"} + week << 0 << true << QString();
    QTest::newRow("empty range") << QStringList{"local", "--from", "2031-01-01", "--to",
                                                "2031-01-02"}
                                 << 1 << false << localNotice;
    QTest::newRow("no such register") << QStringList{"diary"} + week << 2 << false << "register";
    QTest::newRow("bad date") << QStringList{"local", "--from", "1/1/2027", "--to", "2027-01-02"}
                              << 2 << false << "--from";
    QTest::newRow("range backwards")
        << QStringList{"local", "--from", "2027-02-01", "--to", "2027-01-01"} << 2 << false
        << "after";
    QTest::newRow("unknown option")
        << QStringList{"local", "--colour"} + week << 2 << false << "colour";
    QTest::newRow("missing template")
        << QStringList{"outstation", "--template", "$T/none.rpt"} + week << 2 << false
        << "none.rpt";
}

void TestReportCommand::exitsAndWrites()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(bool, written);
    QFETCH(QString, saysOnStderr);
    TempProgramFolder folder;
    openSampleDiary(folder.path());
    const QString out = folder.filePath(QStringLiteral("report.pdf"));
    arguments.replaceInStrings(QStringLiteral("$T"), folder.path());
    if (!arguments.contains(QStringLiteral("--template")) && !arguments.isEmpty()) {
        const ReportRegister* reg = ReportRegister::byName(arguments.first());
        arguments << QStringLiteral("--template")
                  << QStringLiteral(VELMORA_RESOURCES_DIR "/") +
                         (reg ? reg->templateName : QStringLiteral("rptlocal.rpt"));
    }
    arguments << QStringLiteral("--out") << out << QStringLiteral("--diary")
              << folder.filePath(QStringLiteral("tarnalist.mdb"));

    QProcess cli;
    cli.start(QStringLiteral(VELMORA_CLI), QStringList{QStringLiteral("report")} + arguments);
    QVERIFY(cli.waitForFinished(60000));
    const QString stderrText = QString::fromUtf8(cli.readAllStandardError());
    QCOMPARE(cli.exitCode(), exitCode);
    QVERIFY2(stderrText.contains(saysOnStderr), qPrintable(stderrText));
    QCOMPARE(QFile::exists(out), written);
    if (written) {
        QFile pdf(out);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
    }
}

QTEST_GUILESS_MAIN(TestReportCommand)
#include "tst_ReportCommand.moc"
