#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

namespace backup {

// One backup as the restore window and velmora-cli list it.
struct BackupEntry {
    QString path;
    QDateTime taken;
    // Records per register; -1 each when the file could not be read (problem says why).
    int local = -1;
    int outstation = -1;
    int tour = -1;
    QString problem;

    bool readable() const { return problem.isEmpty(); }
};

// The backups of the diary `diaryPath` (found as OpenDiaryDatabase finds it), newest first.
QList<BackupEntry> listBackups(const QString& diaryPath);

// One backup file, read now.
BackupEntry describeBackup(const QString& backupFile);

} // namespace backup
