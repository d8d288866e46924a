#include "backup/BackupCatalog.h"

#include <QFileInfo>

#include "backup/BackupConnection.h"
#include "backup/BackupFiles.h"
#include "data/DiaryDatabase.h"
#include "platform/jet/JetError.h"

namespace backup {

BackupEntry describeBackup(const QString& backupFile)
{
    BackupEntry entry;
    entry.path = backupFile;
    if (const auto name = parseBackupName(QFileInfo(backupFile).fileName()))
        entry.taken = name->taken;
    else
        entry.taken = QFileInfo(backupFile).lastModified();
    try {
        const BackupConnection backup(backupFile);
        entry.local = backup.count("local");
        entry.outstation = backup.count("outstation");
        entry.tour = backup.count("tour");
    } catch (const jet::JetError& error) {
        entry.local = entry.outstation = entry.tour = -1;
        entry.problem = error.text();
    }
    return entry;
}

QList<BackupEntry> listBackups(const QString& diaryPath)
{
    QString diary = data::findDiaryFile(diaryPath);
    if (diary.isEmpty())
        diary = diaryPath;
    QList<BackupEntry> entries;
    for (const QString& file : backupFiles(backupFolderFor(diary)))
        entries << describeBackup(file);
    return entries;
}

} // namespace backup
