#include "backup/ui/StartupBackup.h"

#include <QDir>

#include "backup/BackupFiles.h"
#include "backup/DiaryBackup.h"
#include "backup/ui/BackupTexts.h"
#include "data/DiaryDatabase.h"
#include "data/DiaryLocation.h"
#include "data/ProgramFolder.h"
#include "platform/jet/JetError.h"
#include "shell/frmmsg.h"

namespace backup {

namespace {

QString reason(const jet::JetError& error)
{
    switch (error.number()) {
    case jet::errors::kDiskFull: return texts::diskFull;
    case jet::errors::kReadOnly: return texts::folderReadOnly;
    default: return error.text();
    }
}

} // namespace

bool backupAtStart(QWidget* parent)
{
    return backupAtStart(data::diaryPath(), parent);
}

bool backupAtStart(const QString& diaryPath, QWidget* parent)
{
    try {
        return dailyBackup(diaryPath).has_value();
    } catch (const jet::JetError& error) {
        qWarning("Velmora: %s", error.what());
        QString diary = data::findDiaryFile(diaryPath);
        if (diary.isEmpty())
            diary = diaryPath;
        frmmsg::showText(texts::startBackupFailed + QStringLiteral("\n\n") + reason(error) +
                             QLatin1Char('\n') + texts::folder +
                             QDir::toNativeSeparators(backupFolderFor(diary)),
                         parent);
    } catch (const std::exception& error) {
        qWarning("Velmora: %s", error.what());
        frmmsg::showText(texts::startBackupFailed + QStringLiteral("\n\n") +
                             QString::fromUtf8(error.what()),
                         parent);
    }
    return false;
}

} // namespace backup
