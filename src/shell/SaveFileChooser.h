#pragma once

#include <QString>

class QWidget;

namespace shell {

// Asks where to save a document (a report, a list): the file dialog, then the program's own
// checks and questions in Kannada. A file that must not be written (the diary, its journal, a
// folder, a device) is refused with a message and the dialog opens again; an existing file is
// replaced only after the question dialog's Yes. Returns the chosen path, or an empty text
// when the user cancelled.
//
// Every save starts in the same folder: the one the last save went to, else the user's
// documents folder; `suggested` gives the file's name (a folder in it is not used). The dialog
// is Qt's own, whose texts the program translates, never the desktop's.
QString chooseSaveFile(QWidget* parent, const QString& title, const QString& suggested,
                       const QString& filter);

} // namespace shell
