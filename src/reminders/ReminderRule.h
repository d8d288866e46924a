#pragma once

#include <cstdint>
#include <optional>

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QTime>

#include "engagements/DiaryEntry.h"

// When an engagement is reminded. Moments are seconds on the wall clock as Entry::moment counts
// them (the diary's dates and times are local and carry no zone), so the rule is the same
// whatever the clock says about summer time, and a test gives it any "now".
namespace reminders {

inline constexpr int kDefaultMinutesBefore = 30;
inline constexpr int kMaximumMinutesBefore = 7 * 24 * 60;
// "Remind again" brings a reminder back this much later.
inline constexpr int kAgainMinutes = 10;

struct Settings {
    bool enabled = true;
    int minutesBefore = kDefaultMinutesBefore;
    // A tour's reminder on the evening before its departure day; none when switched off.
    std::optional<QTime> tourEvening = QTime(18, 0);

    bool operator==(const Settings&) const = default;
};

enum class Kind {
    Before, // minutesBefore before a programme or a tour's departure
    Evening // a tour's, on the evening before its departure day
};

// "before" or "evening", as keys and velmora-cli upcoming write it.
QString kindName(Kind kind);

struct Reminder {
    engagements::Entry entry;
    Kind kind = Kind::Before;
    std::int64_t from = 0;  // falls due
    std::int64_t until = 0; // no longer due: the engagement's start (an evening's: its Before)

    // The record (register and row key), the engagement's date and time and the kind: a
    // reminder shown once is never shown again, but a record moved to another date or time is
    // another engagement.
    QString key() const;
};

std::int64_t momentOf(const QDateTime& at);
QDateTime dateTimeOf(std::int64_t moment);

// The reminders of `entries` (programmes and tours), in the order they fall due.
QList<Reminder> remindersOf(const QList<engagements::Entry>& entries, const Settings& settings);

// What this user has seen, whichever copy of the program showed it.
struct Memory {
    QSet<QString> shown;
    QHash<QString, std::int64_t> again; // asked to be reminded again at that moment
};

inline bool isDue(const Reminder& reminder, std::int64_t now)
{
    return reminder.from <= now && now < reminder.until;
}

// The reminders to show at `now`: those due and never shown, and those asked again whose moment
// came (not ones whose moment passed more than kAgainMinutes ago, while the computer slept).
QList<Reminder> toShow(const QList<Reminder>& reminders, std::int64_t now, const Memory& memory);

// The first moment after `now` at which toShow has more to show, if any.
std::optional<std::int64_t> nextMoment(const QList<Reminder>& reminders, std::int64_t now,
                                       const Memory& memory);

// The engagements that began in [since, now) with their reminder before never shown: those
// missed while the computer was off.
QList<engagements::Entry> begunUnreminded(const QList<Reminder>& reminders, std::int64_t since,
                                          std::int64_t now, const Memory& memory);

} // namespace reminders
