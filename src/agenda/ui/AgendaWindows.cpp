#include "agenda/ui/AgendaWindows.h"

#include "agenda/ui/AgendaWindow.h"
#include "shell/WindowKey.h"
#include "shell/WindowRegistry.h"

namespace agenda {

void registerAgendaWindow()
{
    registerChildWindow(QStringLiteral("AgendaWindow"), [] { return new AgendaWindow; });
    shell::openWindowOnKey(kAgendaKey, QStringLiteral("AgendaWindow"),
                           QStringLiteral("GridAgenda"));
}

} // namespace agenda
