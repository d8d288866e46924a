// velmora-cli clashes: every pair of engagements that cannot both be kept, one CSV line each.
#include <cstdio>

#include <QCommandLineParser>

#include "CliCommand.h"
#include "data/CsvText.h"
#include "data/DiaryDatabase.h"
#include "engagements/ClashRule.h"
#include "platform/jet/Database.h"

namespace {

const QString kName = QStringLiteral("clashes");

} // namespace

int cli::runClashes(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Writes every clashing pair as CSV (UTF-8) to standard output: register and sl_no of the "
        "first, register and sl_no of the second, and the reason: `time` for two programmes "
        "(local or outstation) on one date less than MINUTES apart, `tour` for a local programme "
        "strictly between a tour's departure and arrival (the tour first). A pair is listed when "
        "its programmes' date lies in the range. When there are none nothing is written and "
        "the exit status is 1."));
    cli::addDateRangeOptions(parser);
    parser.addOption({QStringLiteral("within"),
                      QStringLiteral("Programmes closer than this clash (default: the setting "
                                     "agenda/clash-minutes in ~/.config/Velmora/Velmora.ini, "
                                     "else 60)."),
                      QStringLiteral("MINUTES")});
    cli::addDiaryOption(parser);
    if (const auto done = cli::parse(parser, kName, arguments))
        return *done;

    return cli::runGuarded(kName, [&] {
        cli::refuseArguments(parser);
        const cli::DateRange given = cli::dateRange(parser);
        const engagements::DateRange range{given.from, given.to};
        const int within =
            cli::numberOption(parser, QStringLiteral("within"), engagements::clashMinutes(), 0,
                              engagements::kMaximumClashMinutes, QStringLiteral(u"ನಿಮಿಷಗಳ"));
        const auto database = data::OpenDiaryForReading(cli::existingDiaryPath(parser));
        const QList<engagements::Clash> clashes =
            engagements::readClashes(*database, range, within);
        QString csv;
        for (const engagements::Clash& clash : clashes)
            csv += data::csvLine(
                {data::tableName(clash.first.which), QString::number(clash.first.serial),
                 data::tableName(clash.second.which), QString::number(clash.second.serial),
                 engagements::reasonName(clash.reason)});
        const QByteArray bytes = csv.toUtf8();
        cli::writeOut(bytes);
        return clashes.isEmpty() ? cli::kNothingToDo : cli::kDone;
    });
}
