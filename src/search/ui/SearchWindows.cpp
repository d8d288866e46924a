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

namespace {

template <typename Window> QWidget* made(const search::SearchWindowExtra& extra)
{
    auto* window = new Window;
    if (extra)
        extra(*window);
    return window;
}

} // namespace

void search::registerWindows(const SearchWindowExtra& extra)
{
    registerChildWindow(QStringLiteral("frmfind1"), [extra] { return made<frmfind1>(extra); });
    registerChildWindow(QStringLiteral("frmfind2"), [extra] { return made<frmfind2>(extra); });
    registerChildWindow(QStringLiteral("frmfind3"), [extra] { return made<frmfind3>(extra); });
}
