#include "shell/ProgramExit.h"

#include <utility>

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace shell {

namespace {
std::function<void()>& handler()
{
    static std::function<void()> h;
    return h;
}
} // namespace

void endProgram()
{
    if (auto h = handler()) {
        h();
        return;
    }
    // Leaves every running event loop, modal ones included, so main() returns.
    QCoreApplication::exit(0);
}

std::function<void()> setEndProgramHandler(std::function<void()> h)
{
    return std::exchange(handler(), std::move(h));
}

void unloadAllWindows()
{
    // Only windows without a parent: the others go with them.
    QList<QPointer<QWidget>> windows;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->parentWidget())
            windows << window;
    }
    for (const QPointer<QWidget>& window : windows)
        delete window.data();
}

} // namespace shell
