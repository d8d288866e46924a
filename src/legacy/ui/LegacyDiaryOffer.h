#pragma once

#include <QString>

namespace legacy {

enum class StartDecision {
    NoLegacyDiary, // the diary is not a Jet file: start as usual
    Imported,      // the records were brought over and the main window is open
    End,           // the user declined, or the file could not be brought over: end
};

// At start, before any window opens the diary: when the diary in `folder` is a Jet file, says
// so in the question dialog and offers to bring its records over. Yes: the import runs with a
// progress dialog (shown for long files), its summary is shown and the main window opens.
// No: the message dialog explains that the program cannot work with the file, which is left
// as it is. A file that cannot be brought over is named in the message dialog, unchanged.
StartDecision offerLegacyImport(const QString& folder);
StartDecision offerLegacyImport();

} // namespace legacy
