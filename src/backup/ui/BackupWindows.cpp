#include "backup/ui/BackupWindows.h"

#include "backup/ui/RestoreWindow.h"
#include "shell/WindowRegistry.h"

void backup::registerBackupWindows()
{
    registerChildWindow(QStringLiteral("RestoreWindow"), [] { return new RestoreWindow; });
}
