#include "shell/ProgramExit.h"

#include <utility>

#include <QCoreApplication>

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

} // namespace shell
