#include "shell/ProgramExit.h"

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

#include <QApplication>
#include <QPointer>
#include <QSocketNotifier>
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

namespace {

// The signal handler only writes a byte; the event loop reads it and ends the program.
int signalSocket[2] = {-1, -1};

void onTerminationSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalSocket[0], &byte, 1);
}

} // namespace

void endProgramOnTerminationSignals()
{
    if (signalSocket[0] >= 0 ||
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSocket) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalSocket[1], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char byte = 0;
        [[maybe_unused]] const ssize_t read = ::read(signalSocket[1], &byte, 1);
        endProgram();
    });
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGHUP, SIGINT})
        sigaction(signal, &action, nullptr);
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
