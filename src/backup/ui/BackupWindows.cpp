#include "backup/ui/BackupWindows.h"

#include "backup/ui/frmrestore.h"
#include "shell/WindowRegistry.h"

void backup::registerBackupWindows()
{
    registerChildWindow(QStringLiteral("frmrestore"), [] { return new frmrestore; });
}
