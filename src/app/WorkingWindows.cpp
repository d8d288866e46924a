#include "app/WorkingWindows.h"

#include "shell/WindowRegistry.h"

void registerWorkingWindows() {}
