#include "app/WorkingWindows.h"

#include "agenda/ui/AgendaWindows.h"
#include "backup/ui/BackupWindows.h"
#include "find/ui/FindWindows.h"
#include "registers/ui/RegisterWindows.h"
#include "reports/ui/ReportWindows.h"
#include "export/ui/ExportMenu.h"
#include "search/ui/SearchGrid.h"
#include "search/ui/SearchWindow.h"
#include "search/ui/SearchWindows.h"

void registerWorkingWindows()
{
    registers::registerWindows();
    reports::registerReportWindows();
    // A list's grid saves what it shows as CSV or iCalendar: the program joins the two rooms.
    search::registerWindows([](search::SearchWindow& window) {
        exports::installExportMenu(window.grid(), window.registerTable(),
                                   [&window] { return window.session().statement(); });
    });
    backup::registerBackupWindows();
    find::registerFindWindow();
    agenda::registerAgendaWindow();
}
