// velmora-cli report: stages a register's date range and writes its report as a PDF, through
// the same stager and report templates as the report windows.

#include <QCommandLineParser>
#include <QDate>
#include <QDir>

#include "CliCommand.h"
#include "data/DiaryDatabase.h"
#include "data/ProgramFolder.h"
#include "platform/files/FileChecks.h"
#include "platform/files/SafeOutput.h"
#include "platform/jet/Database.h"
#include "platform/paths/NativePath.h"
#include "platform/report/ReportPrinting.h"
#include "platform/report/ReportRun.h"
#include "platform/report/ReportTemplate.h"
#include "platform/varnel/VarnelCodec.h"
#include "reports/ReportRegister.h"
#include "reports/Stager.h"

namespace {

const QString kName = QStringLiteral("report");

// Pages laid out, on one line of standard error rewritten as they go, when it is a terminal.
report::ProgressFn progressOnTerminal()
{
    if (!cli::errorsOnTerminal())
        return {};
    return [](const report::ReportProgress& p) {
        const int percent = p.rows > 0 ? p.rowsDone * 100 / p.rows : 100;
        cli::err() << '\r' << (p.writing ? "writing" : "counting") << " pages: " << p.pages << " ("
                   << percent << "% of " << p.rows << " rows)\x1b[K";
        if (p.writing && p.rowsDone == p.rows)
            cli::err() << '\r' << "\x1b[K";
        cli::err().flush();
        return true;
    };
}

} // namespace

int cli::runReport(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Copies the records of a date range into the register's staging table and "
                       "writes its report to a PDF file, or sends the PDF to a printer through "
                       "CUPS, or both. A range without records writes nothing and exits 1."));
    parser.addPositionalArgument(QStringLiteral("register"),
                                 QStringLiteral("local, outstation or tour"));
    cli::addDateRangeOptions(parser);
    parser.addOption({QStringLiteral("out"), QStringLiteral("The PDF file to write."),
                      QStringLiteral("FILE.pdf")});
    parser.addOption({QStringLiteral("print"),
                      QStringLiteral("Send the report to this CUPS printer (\"default\": the "
                                     "default printer)."),
                      QStringLiteral("PRINTER")});
    parser.addOption({QStringLiteral("template"),
                      QStringLiteral("The report template (default: the register's template "
                                     "beside the program, or in /usr/share/velmora)."),
                      QStringLiteral("FILE")});
    cli::addDiaryOption(parser);
    if (const std::optional<int> done = cli::parse(parser, kName, arguments))
        return *done;

    return cli::runGuarded(kName, [&] {
        const reports::ReportRegister* reg =
            reports::ReportRegister::byName(cli::registerArgument(parser));
        for (const char* required : {"from", "to"}) {
            if (!parser.isSet(QLatin1String(required)))
                throw cli::BadInput{QStringLiteral(u"--%1 ಬೇಕು.").arg(QLatin1String(required))};
        }
        const bool toFile = parser.isSet(QStringLiteral("out"));
        const bool toPrinter = parser.isSet(QStringLiteral("print"));
        if (!toFile && !toPrinter)
            throw cli::BadInput{QStringLiteral(u"--out ಅಥವಾ --print ಬೇಕು.")};
        const cli::DateRange range = cli::dateRange(parser);
        const QDate first = *range.from;
        const QDate last = *range.to;
        const QString diary = cli::existingDiaryPath(parser);
        const QString templatePath = parser.isSet(QStringLiteral("template"))
                                         ? parser.value(QStringLiteral("template"))
                                         : reg->templatePath(data::resourceFolder());
        // Everything that can refuse the run does so before the staging table is touched.
        report::readReportTemplate(report::existingProgramFile(templatePath));
        const std::shared_ptr<jet::Database> db = data::OpenDiaryDatabase(diary);
        const QString outPath =
            toFile ? cli::checkedTarget(parser.value(QStringLiteral("out"))) : QString();
        const QString printer =
            toPrinter ? report::resolvePrinter(parser.value(QStringLiteral("print"))) : QString();
        if (toFile)
            reports::requireRoomForReport(*db, *reg, first, last, files::folderOf(outPath),
                                          parser.value(QStringLiteral("out")));
        else
            reports::requireRoomForReport(*db, *reg, first, last, QDir::tempPath(),
                                          QDir::tempPath());

        if (reports::stageRange(*db, *reg, first, last) == 0) {
            cli::err() << varnel::decode(reg->notice) << Qt::endl;
            return int(cli::kNothingToDo);
        }
        report::ReportSummary report;
        QString printed = outPath;
        report::ReportFile scratch;
        if (toFile) {
            // Streamed into the file as the pages are laid out, and written whole or not at
            // all: a failure leaves no half PDF behind.
            files::SafeOutput output(outPath);
            report = report::writeReport(
                templatePath, reports::stagedDiaryOpener(db), diary,
                [&output](const char* data, size_t size) {
                    output.write(QByteArray::fromRawData(data, qsizetype(size)));
                },
                progressOnTerminal());
            output.commit();
        } else {
            scratch = report::runReportToFile(templatePath, reports::stagedDiaryOpener(db), diary,
                                              progressOnTerminal());
            report = scratch;
            printed = scratch.path();
        }
        for (const QString& note : report.notes)
            cli::err() << note << Qt::endl;
        if (toFile)
            cli::printLine(QStringLiteral("%1: %2 rows, %3 pages")
                               .arg(parser.value(QStringLiteral("out")),
                                    QString::number(report.rows), QString::number(report.pages)));
        if (toPrinter) {
            report::PrintRequest request;
            request.printer = printer;
            request.title = report.title;
            const int job = report::printPdf(printed, request);
            cli::out() << printer << ": job " << job << ", " << report.rows << " rows, "
                       << report.pages << " pages" << Qt::endl;
        }
        return int(cli::kDone);
    });
}
