#include "app/WorkingWindows.h"

#include "registers/frmlocal.h"
#include "registers/frmoutstation.h"
#include "registers/frmtour.h"
#include "shell/WindowRegistry.h"

void registerWorkingWindows()
{
    registerChildWindow(QStringLiteral("frmlocal"), [] { return new frmlocal; });
    registerChildWindow(QStringLiteral("frmoutstation"), [] { return new frmoutstation; });
    registerChildWindow(QStringLiteral("frmtour"), [] { return new frmtour; });
}
