// velmora-cli report: stages a register's date range and writes its report as a PDF, through
// the same stager and report templates as the report windows.

#include <QCommandLineParser>
#include <QDate>
#include <QSaveFile>

#include "CliCommand.h"
#include "data/DiaryDatabase.h"
#include "data/ProgramFolder.h"
#include "platform/jet/Database.h"
#include "platform/report/ReportRun.h"
#include "platform/varnel/VarnelCodec.h"
#include "reports/ReportRegister.h"
#include "reports/Stager.h"

namespace {

const QString kName = QStringLiteral("report");

std::optional<QDate> isoDate(const QCommandLineParser& parser, const QString& option)
{
    const QDate date = QDate::fromString(parser.value(option), Qt::ISODate);
    if (!date.isValid()) {
        cli::fail(kName, QStringLiteral("--%1 needs a date written YYYY-MM-DD").arg(option));
        return std::nullopt;
    }
    return date;
}

int runReport(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Copies the records of a date range into the register's staging table and "
                       "writes its report to a PDF file. A range without records writes nothing "
                       "and exits 1."));
    parser.addPositionalArgument(QStringLiteral("register"),
                                 QStringLiteral("local, outstation or tour"));
    parser.addOption({QStringLiteral("from"), QStringLiteral("First day of the range."),
                      QStringLiteral("YYYY-MM-DD")});
    parser.addOption({QStringLiteral("to"), QStringLiteral("Last day of the range."),
                      QStringLiteral("YYYY-MM-DD")});
    parser.addOption({QStringLiteral("out"), QStringLiteral("The PDF file to write."),
                      QStringLiteral("FILE.pdf")});
    parser.addOption({QStringLiteral("template"),
                      QStringLiteral("The report template (default: the register's template in "
                                     "the program's folder)."),
                      QStringLiteral("FILE")});
    cli::addDiaryOption(parser);
    if (const std::optional<int> done = cli::parse(parser, kName, arguments))
        return *done;

    const QStringList positional = parser.positionalArguments();
    const reports::ReportRegister* reg =
        positional.size() == 1 ? reports::ReportRegister::byName(positional.first()) : nullptr;
    if (!reg) {
        cli::fail(kName, QStringLiteral("name one register: local, outstation or tour"));
        return cli::kBadInput;
    }
    for (const char* required : {"from", "to", "out"}) {
        if (!parser.isSet(QLatin1String(required))) {
            cli::fail(kName, QStringLiteral("--%1 is required").arg(QLatin1String(required)));
            return cli::kBadInput;
        }
    }
    const std::optional<QDate> first = isoDate(parser, QStringLiteral("from"));
    const std::optional<QDate> last = isoDate(parser, QStringLiteral("to"));
    if (!first || !last)
        return cli::kBadInput;
    if (*first > *last) {
        cli::fail(kName, QStringLiteral("--from must not be after --to"));
        return cli::kBadInput;
    }
    const QString diary = cli::diaryPath(parser);
    if (data::findDiaryFile(diary).isEmpty()) {
        cli::fail(kName, QStringLiteral("no diary file at %1").arg(diary));
        return cli::kBadInput;
    }
    const QString templatePath = parser.isSet(QStringLiteral("template"))
                                     ? parser.value(QStringLiteral("template"))
                                     : reg->templatePath(data::programFolder());

    try {
        int staged = 0;
        {
            const std::shared_ptr<jet::Database> db = data::OpenDiaryDatabase(diary);
            staged = reports::stageRange(*db, *reg, *first, *last);
        }
        if (staged == 0) {
            cli::err() << varnel::decode(reg->notice) << Qt::endl;
            return cli::kNothingToDo;
        }
        const report::RenderedReport report = report::runReport(templatePath, diary);
        // Written whole or not at all: a failure leaves no half PDF behind.
        QSaveFile out(parser.value(QStringLiteral("out")));
        if (!out.open(QIODevice::WriteOnly) || out.write(report.pdf) != report.pdf.size() ||
            !out.commit()) {
            cli::fail(
                kName,
                QStringLiteral("could not write %1: %2").arg(out.fileName(), out.errorString()));
            return cli::kBadInput;
        }
        cli::out() << out.fileName() << ": " << report.rows << " rows, " << report.pages << " pages"
                   << Qt::endl;
        return cli::kDone;
    } catch (const std::exception& e) {
        cli::fail(kName, QString::fromUtf8(e.what()));
        return cli::kBadInput;
    }
}

} // namespace

VELMORA_CLI_COMMAND(report, "Write a register's report for a date range as a PDF", runReport)
