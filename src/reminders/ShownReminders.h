#pragma once

#include <cstdint>
#include <optional>

#include <QDate>
#include <QList>
#include <QString>

#include "reminders/ReminderRule.h"

namespace reminders {

// $XDG_STATE_HOME/Velmora, by default ~/.local/state/Velmora; made private (0700) when missing.
QString stateFolder();

// What has been shown of one diary's reminders, in stateFolder()/reminders-ID.json (ID: the
// diary's identity, so a copy of the diary or a server shared by desks has its own). Every copy
// of the program, and a restarted one, goes through a lock file beside it: each change reads the
// file afresh under the lock, so two copies never both show a reminder. Written through the safe
// output (files::writeFile). Failures throw JetError.
class ShownReminders {
public:
    explicit ShownReminders(const QString& diaryId);

    // As the file holds it now.
    Memory memory() const;

    // Of `due`, those toShow still gives under the lock, recorded as shown at `now`.
    QList<Reminder> claim(const QList<Reminder>& due, std::int64_t now);
    // Reminders claimed that could not be shown after all: due again.
    void release(const QList<Reminder>& reminders, std::int64_t now);
    // "Remind again": `reminder` comes back at `at`.
    void askAgain(const Reminder& reminder, std::int64_t at, std::int64_t now);

    // True at the first start of `today` of any copy (recorded, so once a day); `since` is then
    // the last moment a copy was known to run, if any ran before.
    bool firstStartOfDay(std::int64_t now, std::optional<std::int64_t>& since);
    // Records that a copy ran until `now`.
    void markAlive(std::int64_t now);

    QString path() const { return m_path; }

private:
    struct Contents;
    template <typename Change> auto update(std::int64_t now, Change change);

    QString m_path;
};

} // namespace reminders
