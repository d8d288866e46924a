// velmora-cli upcoming: what velmora-reminders reminds of now, or within the
// coming minutes, by the same rule and code (src/reminders), one CSV line per
// reminder.
#include <QCommandLineParser>
#include <QDateTime>

#include "CliCommand.h"
#include "data/CsvText.h"
#include "data/DiaryDatabase.h"
#include "platform/jet/Database.h"
#include "reminders/ReminderDiary.h"
#include "reminders/ReminderSettings.h"
#include "reminders/ReminderTexts.h"

namespace {

const QString kName = QStringLiteral("upcoming");

} // namespace

int cli::runUpcoming(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes what velmora-reminders reminds of now (and with "
                       "--within, what falls due in the "
                       "coming minutes) as CSV (UTF-8) to standard output, in "
                       "the order they fall due: when "
                       "(YYYY-MM-DD HH:MM), kind (before, evening: a tour's on "
                       "the evening before), register, "
                       "sl_no, the engagement's date and time, then the "
                       "notification's heading. The rule is "
                       "Velmora.ini's [reminders] minutes-before and "
                       "tour-evening; whether a reminder was "
                       "shown already is not looked at. When there is none "
                       "nothing is written and the exit "
                       "status is 1."));
    parser.addOption({QStringLiteral("within"),
                      QStringLiteral("Also those falling due within MINUTES from now (default 0)."),
                      QStringLiteral("MINUTES")});
    cli::addDiaryOption(parser);
    if (const auto done = cli::parse(parser, kName, arguments))
        return *done;

    return cli::runGuarded(kName, [&] {
        cli::refuseArguments(parser);
        const int within =
            cli::numberOption(parser, QStringLiteral("within"), 0, 0,
                              reminders::kMaximumMinutesBefore, QStringLiteral(u"ನಿಮಿಷಗಳ"));
        const auto database = data::OpenDiaryForReading(cli::existingDiaryPath(parser));
        const QDateTime now = QDateTime::currentDateTime();
        const std::int64_t moment = reminders::momentOf(now);
        QString csv;
        for (const reminders::Reminder& reminder :
             reminders::readReminders(*database, reminders::readSettings(), now, within)) {
            if (reminder.from >= reminder.until || reminder.from > moment + within * 60LL ||
                reminder.until <= moment)
                continue;
            const engagements::Entry& entry = reminder.entry;
            csv += data::csvLine(
                {reminders::dateTimeOf(reminder.from).toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                 reminders::kindName(reminder.kind), data::tableName(entry.which),
                 QString::number(entry.serial), entry.date.toString(Qt::ISODate),
                 entry.time.toString(QStringLiteral("HH:mm")),
                 reminders::texts::summary(reminder, now.date())});
        }
        // Written only once every line is made, so a failure leaves standard output
        // empty.
        const QByteArray bytes = csv.toUtf8();
        cli::writeOut(bytes);
        return bytes.isEmpty() ? cli::kNothingToDo : cli::kDone;
    });
}
