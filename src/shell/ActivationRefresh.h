#pragma once

#include <functional>

class QWidget;

namespace shell {

// Calls `refresh` each time `window` comes to the front: when it is activated itself, and when
// the main window's frame holding it is about to be. A list window reads again there what
// another window or program changed while it stood behind.
void refreshOnActivation(QWidget* window, std::function<void()> refresh);

} // namespace shell
