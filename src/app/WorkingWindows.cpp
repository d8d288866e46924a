#include "app/WorkingWindows.h"

#include "agenda/ui/AgendaWindows.h"
#include "backup/ui/BackupWindows.h"
#include "find/ui/FindWindows.h"
#include "registers/ui/RegisterWindows.h"
#include "reports/ui/ReportWindows.h"
#include "search/ui/SearchWindows.h"

void registerWorkingWindows()
{
    registers::registerWindows();
    reports::registerReportWindows();
    search::registerWindows();
    backup::registerBackupWindows();
    find::registerFindWindow();
    agenda::registerAgendaWindow();
}
