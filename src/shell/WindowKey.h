#pragma once

#include <QKeyCombination>
#include <QString>

namespace shell {

// Lets `key` open the child window registered as `windowName` from anywhere in the main window
// (no dialog open, the menu strip not in use), then puts the focus on its child control
// `focusChild`. The key is seen before the control that has the focus, as the menu strip's
// keys are. Installed once per key.
void openWindowOnKey(QKeyCombination key, const QString& windowName, const QString& focusChild);

} // namespace shell
