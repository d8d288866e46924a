#include "search/ui/SearchWindows.h"
#include "search/ui/frmfind1.h"
#include "search/ui/frmfind2.h"
#include "search/ui/frmfind3.h"
#include "shell/WindowRegistry.h"

frmfind1::frmfind1(QWidget* parent) : ProgrammeSearchWindow(search::localSearchDesign(), parent) {}

frmfind2::frmfind2(QWidget* parent)
    : ProgrammeSearchWindow(search::outstationSearchDesign(), parent)
{
}

frmfind3::frmfind3(QWidget* parent) : TourSearchWindow(parent) {}

void search::registerWindows()
{
    registerChildWindow(QStringLiteral("frmfind1"), [] { return new frmfind1; });
    registerChildWindow(QStringLiteral("frmfind2"), [] { return new frmfind2; });
    registerChildWindow(QStringLiteral("frmfind3"), [] { return new frmfind3; });
}
