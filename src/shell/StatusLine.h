#pragma once

#include <functional>

#include <QString>

class QMainWindow;

namespace shell {

// A line at the foot of the main window for news from outside it (when the phone calendar was
// last brought up to date). The program gives the text's source; an empty text shows no line.
using StatusLineSource = std::function<QString()>;
void setStatusLineSource(StatusLineSource source);

// Keeps `window`'s status line current: read now, every minute and whenever it comes to the
// front. Nothing is shown while the source has nothing to say.
void showStatusLine(QMainWindow* window);

} // namespace shell
