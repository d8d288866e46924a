#pragma once

#include <optional>

#include <QDateTime>
#include <QString>

namespace jet {
class Database;
}

// Backups of the diary through SQLite's online backup API: the copy is the committed state of
// one moment, taken under the engine's own locking, so windows (or another copy of the
// program) writing at the same time neither block it nor leave half a record in it. A file
// copy of a database in use could do neither. Failures throw JetError; nothing half-made is
// left behind.
namespace backup {

// Copies the committed state of `source` into the new file `target`, which must not exist.
// The copy is written under a private name and appears complete or not at all; it is a
// self-contained file (no journal beside it).
void copyDiary(jet::Database& source, const QString& target);

// Backs up the diary `diaryPath` (as OpenDiaryDatabase finds it, never created here) into its
// backups folder, keeps the newest kKeptBackups and returns the new backup's path.
QString backupDiary(const QString& diaryPath, const QDateTime& now = QDateTime::currentDateTime());

// The start-up backup: as backupDiary, unless a backup of today already exists or there is no
// diary yet; the new backup's path, or nullopt when none was due.
std::optional<QString> dailyBackup(const QString& diaryPath,
                                   const QDateTime& now = QDateTime::currentDateTime());

// Puts the records of `backupFile` back into the diary `diaryPath`. The diary as it is now is
// backed up first (that backup's path is returned). The backup is written into the live diary
// through the engine, as one write of the engine, so every window holding the diary stays
// valid and sees the restored records at its next read. A damaged backup or one that is not a
// diary's is refused before anything is written.
QString restoreBackup(const QString& backupFile, const QString& diaryPath,
                      const QDateTime& now = QDateTime::currentDateTime());

} // namespace backup
