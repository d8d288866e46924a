#include "app/WorkingWindows.h"

#include "registers/RegisterWindows.h"

void registerWorkingWindows()
{
    registers::registerWindows();
}
