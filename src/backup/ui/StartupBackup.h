#pragma once

#include <QString>

class QWidget;

namespace backup {

// At start: the day's backup of the diary in the program's folder, when none was made today.
// A failure (a full disk, a folder that cannot be written) is shown once in the message
// dialog and the program goes on; the diary is untouched either way. Returns whether a
// backup was made.
bool backupAtStart(QWidget* parent = nullptr);
bool backupAtStart(const QString& diaryPath, QWidget* parent = nullptr);

} // namespace backup
