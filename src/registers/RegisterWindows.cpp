#include "registers/frmlocal.h"
#include "registers/frmoutstation.h"
#include "registers/frmtour.h"
#include "registers/RegisterWindows.h"
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
}
