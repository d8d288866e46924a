#include "reminders/ReminderRule.h"

#include <algorithm>
#include <tuple>

namespace reminders {

namespace {

constexpr std::int64_t kDay = 24 * 60 * 60;

QString keyOf(const engagements::Entry& entry, Kind kind)
{
    return QStringLiteral("%1:%2:%3T%4:%5")
        .arg(data::tableName(entry.which))
        .arg(entry.key)
        .arg(entry.date.toString(Qt::ISODate), entry.time.toString(QStringLiteral("HH:mm:ss")),
             kindName(kind));
}

} // namespace

QString kindName(Kind kind)
{
    return kind == Kind::Before ? QStringLiteral("before") : QStringLiteral("evening");
}

QString Reminder::key() const
{
    return keyOf(entry, kind);
}

std::int64_t momentOf(const QDateTime& at)
{
    return engagements::Entry::moment(at.date(), at.time());
}

QDateTime dateTimeOf(std::int64_t moment)
{
    return QDateTime(QDate::fromJulianDay(moment / kDay),
                     QTime::fromMSecsSinceStartOfDay(int(moment % kDay) * 1000));
}

QList<Reminder> remindersOf(const QList<engagements::Entry>& entries, const Settings& settings)
{
    QList<Reminder> reminders;
    for (const engagements::Entry& entry : entries) {
        if (!entry.date.isValid() || !entry.time.isValid())
            continue;
        // With no minutes before, the reminder is never due, but it still names the engagement
        // when it begins unreminded.
        const Reminder before{entry, Kind::Before,
                              entry.start() - std::int64_t(settings.minutesBefore) * 60,
                              entry.start()};
        reminders.append(before);
        if (entry.isTour() && settings.tourEvening) {
            // Due until the reminder before the departure takes over.
            const Reminder evening{
                entry, Kind::Evening,
                engagements::Entry::moment(entry.date.addDays(-1), *settings.tourEvening),
                before.from};
            if (evening.from < evening.until)
                reminders.append(evening);
        }
    }
    std::stable_sort(reminders.begin(), reminders.end(), [](const Reminder& a, const Reminder& b) {
        return std::tuple(a.from, a.entry.which, a.entry.serial) <
               std::tuple(b.from, b.entry.which, b.entry.serial);
    });
    return reminders;
}

QList<Reminder> toShow(const QList<Reminder>& reminders, std::int64_t now, const Memory& memory)
{
    QList<Reminder> shown;
    for (const Reminder& reminder : reminders) {
        const QString key = reminder.key();
        const auto again = memory.again.constFind(key);
        if (again != memory.again.constEnd()) {
            if (*again <= now && now < *again + kAgainMinutes * 60)
                shown.append(reminder);
        } else if (isDue(reminder, now) && !memory.shown.contains(key)) {
            shown.append(reminder);
        }
    }
    return shown;
}

std::optional<std::int64_t> nextMoment(const QList<Reminder>& reminders, std::int64_t now,
                                       const Memory& memory)
{
    std::optional<std::int64_t> next;
    const auto consider = [&](std::int64_t at) {
        if (at > now && (!next || at < *next))
            next = at;
    };
    for (const Reminder& reminder : reminders) {
        const QString key = reminder.key();
        if (memory.again.contains(key))
            consider(memory.again.value(key));
        else if (!memory.shown.contains(key) && reminder.from < reminder.until)
            consider(reminder.from);
    }
    return next;
}

QList<engagements::Entry> begunUnreminded(const QList<Reminder>& reminders, std::int64_t since,
                                          std::int64_t now, const Memory& memory)
{
    QList<engagements::Entry> begun;
    for (const Reminder& reminder : reminders) {
        const std::int64_t start = reminder.entry.start();
        if (reminder.kind == Kind::Before && since <= start && start < now &&
            !memory.shown.contains(reminder.key()) &&
            !memory.shown.contains(keyOf(reminder.entry, Kind::Evening)))
            begun.append(reminder.entry);
    }
    std::sort(begun.begin(), begun.end(), engagements::startsBefore);
    return begun;
}

} // namespace reminders
