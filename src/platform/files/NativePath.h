#pragma once

// Moved to src/platform/paths; kept until the last callers include it from there.
#include "platform/paths/NativePath.h"
