#include "shell/ActivationRefresh.h"

#include <QEvent>
#include <QMdiSubWindow>
#include <QPointer>

namespace shell {

namespace {

class ActivationWatcher : public QObject {
public:
    ActivationWatcher(QWidget* window, std::function<void()> refresh)
        : QObject(window), m_window(window), m_refresh(std::move(refresh))
    {
        window->installEventFilter(this);
        watchFrame();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_window && event->type() == QEvent::ParentChange)
            watchFrame();
        else if (watched == m_window && event->type() == QEvent::WindowActivate)
            m_refresh();
        return false;
    }

private:
    void watchFrame()
    {
        auto* frame = qobject_cast<QMdiSubWindow*>(m_window->parentWidget());
        if (!frame || frame == m_frame)
            return;
        if (m_frame)
            disconnect(m_frame, nullptr, this, nullptr);
        m_frame = frame;
        connect(frame, &QMdiSubWindow::aboutToActivate, this, [this] { m_refresh(); });
    }

    QWidget* m_window;
    std::function<void()> m_refresh;
    QPointer<QMdiSubWindow> m_frame;
};

} // namespace

void refreshOnActivation(QWidget* window, std::function<void()> refresh)
{
    new ActivationWatcher(window, std::move(refresh));
}

} // namespace shell
