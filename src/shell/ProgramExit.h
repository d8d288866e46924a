#pragma once

#include <functional>

namespace shell {

// Ends the program at once: no window is asked and nothing is saved. Escape on the front
// screen, the exit entry and closing the main window all end here.
void endProgram();

// Replaces what endProgram does (tests record the call instead of leaving the event loop);
// returns the handler installed before. An empty handler restores the default.
std::function<void()> setEndProgramHandler(std::function<void()> handler);

// Ends the program as the exit entry does when the session asks it to (SIGTERM at logout or
// shutdown, SIGHUP, Ctrl+C in a terminal), so that every window still closes its diary.
void endProgramOnTerminationSignals();

// Unloads every window once the event loop has ended, so each closes its diary connection
// and the last one folds the journal into the diary file.
void unloadAllWindows();

} // namespace shell
