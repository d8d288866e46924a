#include "find/ui/FindWindows.h"

#include "find/ui/frmfindall.h"
#include "shell/WindowKey.h"
#include "shell/WindowRegistry.h"

namespace find {

void registerFindWindow()
{
    registerChildWindow(QStringLiteral("frmfindall"), [] { return new frmfindall; });
    shell::openWindowOnKey(kFindKey, QStringLiteral("frmfindall"), QStringLiteral("TxtFind"));
}

} // namespace find
