#include "app/WorkingWindows.h"

#include "registers/RegisterWindows.h"
#include "reports/ReportWindows.h"
#include "search/SearchWindows.h"

void registerWorkingWindows()
{
    registers::registerWindows();
    reports::registerReportWindows();
    search::registerWindows();
}
