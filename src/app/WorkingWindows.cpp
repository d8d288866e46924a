#include "app/WorkingWindows.h"

#include "registers/RegisterWindows.h"
#include "search/SearchWindows.h"

void registerWorkingWindows()
{
    registers::registerWindows();
    search::registerWindows();
}
