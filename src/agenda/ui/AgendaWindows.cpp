#include "agenda/ui/AgendaWindows.h"

#include "agenda/ui/frmagenda.h"
#include "shell/WindowKey.h"
#include "shell/WindowRegistry.h"

namespace agenda {

void registerAgendaWindow()
{
    registerChildWindow(QStringLiteral("frmagenda"), [] { return new frmagenda; });
    shell::openWindowOnKey(kAgendaKey, QStringLiteral("frmagenda"), QStringLiteral("GridAgenda"));
}

} // namespace agenda
