#include <memory>
#include <unistd.h>

#include <cups/cups.h>

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QtTest>

#include "MountedFolder.h"
#include "SampleDiary.h"
#include "TempProgramFolder.h"
#include "platform/jet/Database.h"
#include "platform/report/ReportPrinting.h"
#include "platform/varnel/VarnelCodec.h"
#include "reports/ReportRegister.h"

using reports::ReportRegister;

namespace {

// A program's exit status (-1 when it cannot start) and what it wrote to standard output.
int run(const QString& program, const QStringList& arguments, QByteArray* output = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return -1;
    if (output)
        *output = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QString pdfText(const QString& path)
{
    QByteArray text;
    run(QStringLiteral("pdftotext"),
        {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")}, &text);
    return QString::fromUtf8(text);
}

// The CUPS scheduler for one test: the running one, or one started here and stopped after.
struct CupsScheduler {
    QProcess started;

    bool up() const
    {
        QByteArray said;
        return run(QStringLiteral("lpstat"), {QStringLiteral("-r")}, &said) == 0 &&
               said.contains("is running");
    }
    bool start()
    {
        if (up())
            return true;
        started.start(QStringLiteral("cupsd"), {QStringLiteral("-f")});
        for (int i = 0; i < 50 && !up(); ++i)
            QTest::qWait(200);
        return up();
    }
    ~CupsScheduler()
    {
        started.terminate();
        started.waitForFinished(10000);
    }
};

} // namespace

// velmora-cli report run as a script would run it: exit statuses, the PDF written or not, the
// notice of an empty range on standard error.
class TestReportCommand : public QObject {
    Q_OBJECT

private slots:
    void exitsAndWrites_data();
    void exitsAndWrites();
    void printsThePdfItselfToACupsQueue();
    void aReportWithoutRoomLeavesTheDiaryAsItWas();
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
    QTest::newRow("no such register") << QStringList{"diary"} + week << 2 << false << "'diary'";
    QTest::newRow("bad date") << QStringList{"local", "--from", "1/1/2027", "--to", "2027-01-02"}
                              << 2 << false << "--from";
    QTest::newRow("range backwards")
        << QStringList{"local", "--from", "2027-02-01", "--to", "2027-01-01"} << 2 << false
        << "2027-01-01";
    QTest::newRow("unknown option")
        << QStringList{"local", "--colour"} + week << 2 << false << "colour";
    QTest::newRow("unknown printer") << QStringList{"local", "--print", "Nowhere-Printer"} + week
                                     << 2 << false << "Nowhere-Printer";
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

// --print hands the PDF itself to CUPS: the job that reaches the queue is the report's PDF,
// byte for byte, its Kannada still text (no pictures of pages). The queue is a cups-pdf
// printer, held while the job is looked at in CUPS's spool.
void TestReportCommand::printsThePdfItselfToACupsQueue()
{
    const QString ppd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd");
    if (QStandardPaths::findExecutable(QStringLiteral("lpadmin"),
                                       {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")})
            .isEmpty() ||
        !QFile::exists(ppd) ||
        QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("lpadmin, cups-pdf or pdftotext is not installed (scripts/deps.sh installs cups, "
              "printer-driver-cups-pdf and poppler-utils): printing is not tried");
    if (::geteuid() != 0)
        QSKIP("adding a print queue and reading CUPS's spool needs root: printing is not tried");
    CupsScheduler scheduler;
    if (!scheduler.start())
        QSKIP("the CUPS scheduler does not run here: printing is not tried");
    const QString queue = QStringLiteral("Velmora-Test-PDF");
    QCOMPARE(run(QStringLiteral("lpadmin"), {"-p", queue, "-E", "-v", "cups-pdf:/", "-P", ppd}), 0);
    const auto removeQueue = qScopeGuard([&] { run(QStringLiteral("lpadmin"), {"-x", queue}); });
    QCOMPARE(run(QStringLiteral("cupsdisable"), {queue}), 0);

    TempProgramFolder folder;
    openSampleDiary(folder.path());
    const QString out = folder.filePath(QStringLiteral("report.pdf"));
    QByteArray said;
    QCOMPARE(run(QStringLiteral(VELMORA_CLI),
                 {"report", "local", "--from", "2027-01-01", "--to", "2027-01-31", "--template",
                  QStringLiteral(VELMORA_RESOURCES_DIR "/rptlocal.rpt"), "--diary",
                  folder.filePath(QStringLiteral("tarnalist.mdb")), "--out", out, "--print", queue},
                 &said),
             0);
    const QRegularExpressionMatch job =
        QRegularExpression(QStringLiteral("job (\\d+)")).match(QString::fromUtf8(said));
    QVERIFY2(job.hasMatch(), said.constData());
    const QString spooled =
        QStringLiteral("/var/spool/cups/d%1-001").arg(job.captured(1).toInt(), 5, 10, QChar('0'));
    QFile printed(spooled), written(out);
    QVERIFY2(printed.open(QIODevice::ReadOnly), qPrintable(spooled));
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(printed.readAll(), written.readAll());
    const QString text = pdfText(spooled);
    QVERIFY(text.contains(QStringLiteral(u"ಸ್ಥಳೀಯ ಕಾರ್ಯಕ್ರಮಗಳ ಪಟ್ಟಿ")));
    QCOMPARE(text, pdfText(out));

    // The print dialog's page ranges and its further choices (odd pages only) go with the job.
    report::PrintRequest request;
    request.printer = queue;
    request.pageRanges = QStringLiteral("1,3-4");
    request.dialogOptions = {{QStringLiteral("page-set"), QStringLiteral("odd")}};
    const int chosen = report::printPdf(out, request);
    ipp_t* asking = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    ippAddString(asking, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr,
                 qPrintable(QStringLiteral("ipp://localhost/jobs/%1").arg(chosen)));
    const std::unique_ptr<ipp_t, decltype(&ippDelete)> attributes(
        cupsDoRequest(CUPS_HTTP_DEFAULT, asking, "/jobs/"), ippDelete);
    QVERIFY(attributes);
    ipp_attribute_t* pageSet = ippFindAttribute(attributes.get(), "page-set", IPP_TAG_ZERO);
    QVERIFY(pageSet && qstrcmp(ippGetString(pageSet, 0, nullptr), "odd") == 0);
    ipp_attribute_t* ranges = ippFindAttribute(attributes.get(), "page-ranges", IPP_TAG_RANGE);
    int upper = 0;
    QVERIFY(ranges && ippGetCount(ranges) == 2 && ippGetRange(ranges, 1, &upper) == 3 &&
            upper == 4);

    // Taken back out of the queue: the test leaves no printed file behind.
    QCOMPARE(run(QStringLiteral("cancel"), {"-a", queue}), 0);
}

// A folder with too little room for the PDF is refused before the staging table is rewritten:
// exit 3, and the diary is byte for byte as it was.
void TestReportCommand::aReportWithoutRoomLeavesTheDiaryAsItWas()
{
    TempProgramFolder folder;
    openSampleDiary(folder.path());
    const QString diary = folder.filePath(QStringLiteral("tarnalist.mdb"));
    MountedFolder full(folder.filePath(QStringLiteral("full")), MountedFolder::Kind::Full);
    if (!full.active())
        QSKIP("a small file system can only be mounted as root: the full folder is not tried");
    const auto diaryBytes = [&] {
        QFile file(folder.filePath(QStringLiteral("Tarnalist.mdb")));
        return file.open(QIODevice::ReadOnly)
                   ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
                   : QByteArray();
    };
    const QByteArray before = diaryBytes();
    QVERIFY(!before.isEmpty());
    QCOMPARE(run(QStringLiteral(VELMORA_CLI),
                 {"report", "local", "--from", "2027-01-01", "--to", "2027-01-31", "--template",
                  QStringLiteral(VELMORA_RESOURCES_DIR "/rptlocal.rpt"), "--diary", diary, "--out",
                  folder.filePath(QStringLiteral("full/report.pdf"))}),
             3);
    QCOMPARE(diaryBytes(), before);
    QVERIFY(QDir(folder.filePath(QStringLiteral("full"))).isEmpty());
}

QTEST_GUILESS_MAIN(TestReportCommand)
#include "tst_ReportCommand.moc"
