#pragma once

#include <functional>

namespace shell {

// Ends the program at once: no window is asked and nothing is saved. Escape on the front
// screen, the exit entry and closing the main window all end here.
void endProgram();

// Replaces what endProgram does (tests record the call instead of leaving the event loop);
// returns the handler installed before. An empty handler restores the default.
std::function<void()> setEndProgramHandler(std::function<void()> handler);

// Unloads every window once the event loop has ended, so each closes its diary connection
// and the last one folds the journal into the diary file.
void unloadAllWindows();

} // namespace shell
