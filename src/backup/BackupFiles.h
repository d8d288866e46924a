#pragma once

#include <optional>

#include <QDateTime>
#include <QString>
#include <QStringList>

// Where the backups of a diary lie and how they are named: backups/ beside the diary, one file
// per backup, "Tarnalist-YYYY-MM-DD-HHMMSS.mdb" by the local date and time it was taken (a
// second backup within the same second gets "-2", "-3" … before ".mdb"). Only files named so
// are ever listed or removed; anything else in the folder is left alone.
namespace backup {

inline constexpr int kKeptBackups = 30;

// The backups folder of the diary file `diaryFile`.
QString backupFolderFor(const QString& diaryFile);

struct BackupName {
    QDateTime taken;
    int sequence = 1;
};

QString backupFileName(const BackupName& name);
std::optional<BackupName> parseBackupName(const QString& fileName);

// The backups in `folder`, newest first, as full paths.
QStringList backupFiles(const QString& folder);

// A path in `folder` for a backup taken at `taken` that no file holds yet.
QString newBackupPath(const QString& folder, const QDateTime& taken);

// Removes the oldest backups beyond `keep`; `spare` (a backup in use) is never removed.
// Returns the files removed.
QStringList rotateBackups(const QString& folder, int keep = kKeptBackups,
                          const QString& spare = {});

} // namespace backup
