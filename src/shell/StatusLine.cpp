#include "shell/StatusLine.h"

#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>

#include "shell/ActivationRefresh.h"

namespace shell {

namespace {

constexpr int kRereadMs = 60 * 1000;

StatusLineSource& source()
{
    static StatusLineSource s;
    return s;
}

void update(QMainWindow* window)
{
    const QString text = source() ? source()() : QString();
    if (text.isEmpty() && !window->findChild<QStatusBar*>())
        return; // no line until there is something to say
    window->statusBar()->setVisible(!text.isEmpty());
    window->statusBar()->showMessage(text);
}

} // namespace

void setStatusLineSource(StatusLineSource s)
{
    source() = std::move(s);
}

void showStatusLine(QMainWindow* window)
{
    if (!source())
        return;
    update(window);
    auto* timer = new QTimer(window);
    QObject::connect(timer, &QTimer::timeout, window, [window] { update(window); });
    timer->start(kRereadMs);
    refreshOnActivation(window, [window] { update(window); });
}

} // namespace shell
