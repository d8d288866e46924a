#include "registers/ui/frmlocal.h"
#include "registers/ui/frmoutstation.h"
#include "registers/ui/frmtour.h"
#include "registers/ui/RecentlyDeletedWindow.h"
#include "registers/ui/RegisterWindows.h"
#include "shell/WindowRegistry.h"

using registers::RegisterMapping;
using registers::RegisterWindowLayout;

frmlocal::frmlocal(QWidget* parent)
    : RegisterWindow(RegisterMapping::local(), RegisterWindowLayout::local(), parent)
{
}

frmoutstation::frmoutstation(QWidget* parent)
    : RegisterWindow(RegisterMapping::outstation(), RegisterWindowLayout::outstation(), parent)
{
}

frmtour::frmtour(QWidget* parent)
    : RegisterWindow(RegisterMapping::tour(), RegisterWindowLayout::tour(), parent)
{
}

void registers::registerWindows()
{
    registerChildWindow(QStringLiteral("frmlocal"), [] { return new frmlocal; });
    registerChildWindow(QStringLiteral("frmoutstation"), [] { return new frmoutstation; });
    registerChildWindow(QStringLiteral("frmtour"), [] { return new frmtour; });
    registerChildWindow(QStringLiteral("RecentlyDeletedWindow"),
                        [] { return new registers::RecentlyDeletedWindow; });
}
