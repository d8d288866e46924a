// velmora-cli export: a register as CSV for a spreadsheet or as iCalendar for a calendar.
#include <cstdio>

#include <QCommandLineParser>
#include <QDate>

#include "CliCommand.h"
#include "export/DiaryExport.h"
#include "platform/files/FileChecks.h"
#include "platform/files/SafeOutput.h"
#include "data/DiaryDatabase.h"
#include "platform/jet/Database.h"

namespace {

const QString kName = QStringLiteral("export");

using cli::BadInput;

exports::ExportFormat formatOption(const QCommandLineParser& parser)
{
    const QString format = parser.value(QStringLiteral("format"));
    if (format == QLatin1String("csv"))
        return exports::ExportFormat::Csv;
    if (format == QLatin1String("ics"))
        return exports::ExportFormat::Calendar;
    throw BadInput{format.isEmpty()
                       ? QStringLiteral(u"ರೂಪ ಹೆಸರಿಸಿ: --format csv ಅಥವಾ --format ics.")
                       : QStringLiteral(u"'%1' ಎಂಬ ರೂಪ ಇಲ್ಲ: csv ಅಥವಾ ics.").arg(format)};
}

} // namespace

int cli::runExport(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Writes the records of a register in date order to FILE, or to standard output. "
        "csv: UTF-8 for a spreadsheet, the column names first, ISO dates, Kannada as "
        "Unicode. ics: iCalendar for a calendar program, one event per programme (a tour "
        "spans departure to arrival), each with a UID that stays the same when the "
        "register is renumbered after a deletion. --from and --to bound the dates "
        "(a tour is written when any day of it lies in the range). When none are in the "
        "range nothing is written and the exit status is 1; a failed run leaves an existing "
        "file as it was."));
    parser.addPositionalArgument(QStringLiteral("register"),
                                 QStringLiteral("local, outstation or tour."));
    parser.addOption(
        {QStringLiteral("format"), QStringLiteral("csv or ics."), QStringLiteral("FORMAT")});
    cli::addDateRangeOptions(parser);
    parser.addOption({QStringLiteral("out"),
                      QStringLiteral("Write to FILE instead of standard output."),
                      QStringLiteral("FILE")});
    cli::addDiaryOption(parser);
    if (const auto done = cli::parse(parser, kName, arguments))
        return *done;

    return cli::runGuarded(kName, [&] {
        const auto which = data::registerNamed(cli::registerArgument(parser));
        const exports::ExportFormat format = formatOption(parser);
        const auto [from, to] = cli::dateRange(parser);

        // A diary that does not exist is not made.
        auto database = data::OpenDiaryForReading(cli::existingDiaryPath(parser));
        const QString statement = exports::exportStatement(*which, from, to);
        // Written as the rows are read: memory stays flat in the size of the register. A file
        // is published whole once every row is in it; nothing goes out for an empty range.
        int records = 0;
        if (parser.isSet(QStringLiteral("out"))) {
            files::SafeOutput file(cli::checkedTarget(parser.value(QStringLiteral("out"))));
            cli::PieceBuffer out([&file](const QByteArray& bytes) { file.write(bytes); });
            records = exports::streamRecords(*database, *which, statement, format, std::ref(out));
            out.flush();
            if (records > 0)
                file.commit();
        } else {
            cli::PieceBuffer out([](const QByteArray& bytes) { cli::writeOut(bytes); });
            records = exports::streamRecords(*database, *which, statement, format, std::ref(out));
            out.flush();
        }
        if (records == 0) {
            cli::fail(kName, QStringLiteral(u"ವ್ಯಾಪ್ತಿಯಲ್ಲಿ ದಾಖಲೆಗಳಿಲ್ಲ; ಏನನ್ನೂ ಬರೆಯಲಿಲ್ಲ."));
            return cli::kNothingToDo;
        }
        return cli::kDone;
    });
}
