#pragma once

#include <cstdint>
#include <optional>

#include <QDate>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QTimer>

#include "reminders/Notifier.h"
#include "reminders/ReminderDiary.h"
#include "reminders/ReminderRule.h"
#include "reminders/ShownReminders.h"

namespace reminders {

// The background program's work: looks at the diary and the settings, shows what the rule says
// is due through `notifier` (each reminder once, whichever copy runs), and sleeps until the next
// reminder or the next look, at most `checkSeconds` away; a change of the file on disk brings
// the look forward. Nothing it meets ends it: a missing diary or notification service is said
// once on standard error and looked for again at each look.
class ReminderService : public QObject {
    Q_OBJECT
public:
    ReminderService(const QString& diaryPath, Notifier& notifier, int checkSeconds,
                    QObject* parent = nullptr);
    // Records the moment it last ran, for the summary of what began while it did not.
    ~ReminderService() override;

    void start() { check(); }
    // Looks at once (the computer woke from sleep: what fell due meanwhile is shown now).
    void lookNow() { check(); }

signals:
    // The settings say enabled=false: the program has nothing to do.
    void switchedOff();

private:
    void check();
    void readDiary(const Settings& settings, const QDateTime& now);
    void summariseBegun(std::int64_t now, const QDate& today);
    void showDue(std::int64_t now, const QDate& today);
    void remindAgain(uint id, const QString& action);
    void schedule(const QDateTime& now);

    Notifier& m_notifier;
    DiaryFollower m_diary;
    int m_checkSeconds;
    QTimer m_timer;
    std::optional<ShownReminders> m_shown; // once the diary's identity is known
    QList<Reminder> m_reminders;
    std::optional<Settings> m_settings; // those m_reminders were read with
    QDate m_readDay;
    bool m_summaryAsked = false;
    QHash<uint, Reminder> m_notified;
    // Shown by this run: a state file that cannot be written must not make it show them again.
    QSet<QString> m_shownHere;
};

} // namespace reminders
