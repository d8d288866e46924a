#include "find/ui/FindWindows.h"

#include "find/ui/FindWindow.h"
#include "shell/WindowKey.h"
#include "shell/WindowRegistry.h"

namespace find {

void registerFindWindow()
{
    registerChildWindow(QStringLiteral("FindWindow"), [] { return new FindWindow; });
    shell::openWindowOnKey(kFindKey, QStringLiteral("FindWindow"), QStringLiteral("TxtFind"));
}

} // namespace find
