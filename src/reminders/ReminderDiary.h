#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QList>
#include <QObject>
#include <QString>

#include "reminders/ReminderRule.h"
#include "reminders/ReminderTexts.h"

namespace jet {
class Database;
}

namespace reminders {

// The reminders of the engagements from a week before `now` (what the summary after the computer
// was off looks back on) to the last that can fall due within `aheadMinutes`, read with the
// agenda's reader.
QList<Reminder> readReminders(jet::Database& database, const Settings& settings,
                              const QDateTime& now, int aheadMinutes = 0);

// The fields of `entry`'s record that a notification's body shows beyond what the agenda reads;
// empty when the record is gone.
texts::Details readDetails(jet::Database& database, const engagements::Entry& entry);

// The diary's identity (exports' diary id), never stored from here: the program only reads.
QString diaryIdentity(jet::Database& database);

// Follows one diary through the readers' door (data::OpenDiaryForReading). A file is opened only
// for each read and closed after, so the program never keeps its journal alive; its changes are
// told by the file system (touched()) and found by the file's and its journal's sizes and
// times. A server's connection is kept, and its data version (which hears the server's change
// notices) tells a change. Failures throw JetError; a lost connection is made again at the
// next read.
class DiaryFollower : public QObject {
    Q_OBJECT
public:
    explicit DiaryFollower(const QString& path, QObject* parent = nullptr);

    // Whether the diary may have changed since the last read began (always before the first).
    bool changed();
    void read(const std::function<void(jet::Database&)>& reader);

signals:
    // The file or its journal changed on disk.
    void touched();

private:
    struct Signature {
        std::int64_t values[6] = {};
        bool operator==(const Signature&) const = default;
    };
    Signature signature() const;
    void watch();

    QString m_path;
    std::shared_ptr<jet::Database> m_server;
    std::optional<std::int64_t> m_version;
    std::optional<Signature> m_signature;
    QFileSystemWatcher m_watcher;
};

} // namespace reminders
