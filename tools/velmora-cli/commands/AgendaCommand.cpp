// velmora-cli agenda: the engagements of a range of days from the three registers, one CSV line
// per agenda line, as the agenda window lists them.
#include <cstdio>

#include <QCommandLineParser>
#include <QDate>

#include "CliCommand.h"
#include "agenda/Agenda.h"
#include "data/CsvText.h"
#include "data/DiaryDatabase.h"
#include "engagements/DiaryEntry.h"
#include "platform/jet/Database.h"

namespace {

const QString kName = QStringLiteral("agenda");
// Longer ranges are what `list` and `export` are for.
constexpr int kMaximumDays = 3660;

} // namespace

int cli::runAgenda(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Writes the engagements of a range of days as CSV (UTF-8) to standard output, in date "
        "and time order: date (YYYY-MM-DD), time (HH:MM, empty for a day on tour), register "
        "(local, outstation, tour), sl_no, then the text the agenda shows. A tour is listed on "
        "its departure day, each day on tour and its arrival day. When the range holds none "
        "nothing is written and the exit status is 1."));
    parser.addOption({QStringLiteral("from"),
                      QStringLiteral("First day (YYYY-MM-DD; default today)."),
                      QStringLiteral("YYYY-MM-DD")});
    parser.addOption({QStringLiteral("days"), QStringLiteral("Number of days (default 7)."),
                      QStringLiteral("N")});
    cli::addDiaryOption(parser);
    if (const auto done = cli::parse(parser, kName, arguments))
        return *done;

    return cli::runGuarded(kName, [&] {
        cli::refuseArguments(parser);
        const QDate from =
            cli::dateOption(parser, QStringLiteral("from")).value_or(QDate::currentDate());
        const int days = cli::numberOption(parser, QStringLiteral("days"), 7, 1, kMaximumDays,
                                           QStringLiteral(u"ದಿನಗಳ"));
        // The command only reads: a diary that does not exist is not made.
        const auto database = data::OpenDiaryForReading(cli::existingDiaryPath(parser));
        QString csv;
        for (const agenda::AgendaDay& day : agenda::readAgenda(*database, from, days).days) {
            for (const agenda::AgendaLine& line : day.lines) {
                csv += data::csvLine(
                    {line.date.toString(Qt::ISODate),
                     line.time.isValid() ? line.time.toString(QStringLiteral("HH:mm")) : QString(),
                     data::tableName(line.entry.which), QString::number(line.entry.serial),
                     line.text()});
            }
        }
        // Written only once every line is made, so a failure leaves standard output empty.
        const QByteArray bytes = csv.toUtf8();
        cli::writeOut(bytes);
        return bytes.isEmpty() ? cli::kNothingToDo : cli::kDone;
    });
}
