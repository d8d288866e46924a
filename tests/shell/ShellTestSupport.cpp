#include "ShellTestSupport.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "shell/ProgramExit.h"
#include "shell/frmMDI.h"

EndProgramRecorder::EndProgramRecorder()
    : m_previous(shell::setEndProgramHandler([this] { ++calls; }))
{
}

EndProgramRecorder::~EndProgramRecorder()
{
    shell::setEndProgramHandler(m_previous);
}

void whenModal(const std::function<void(QWidget*)>& act)
{
    auto* timer = new QTimer;
    auto* waited = new int(0);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, waited, act] {
        QWidget* modal = QApplication::activeModalWidget();
        // Keys go to the focus, which the dialog gets once it is the active window.
        const bool ready = modal && QApplication::activeWindow() == modal;
        if (!ready && ++*waited < 500)
            return;
        timer->stop();
        timer->deleteLater();
        delete waited;
        if (modal)
            act(modal);
    });
    timer->start();
}

QList<frmMDI*> mainWindows()
{
    QList<frmMDI*> found;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* mdi = qobject_cast<frmMDI*>(w))
            found << mdi;
    }
    return found;
}

void unloadMainWindows()
{
    for (frmMDI* mdi : mainWindows())
        delete mdi;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

namespace {

QPoint inWindow(QWidget* widget, QPoint pos)
{
    if (pos.isNull())
        pos = widget->rect().center();
    QWidget* top = widget->window();
    return widget->mapTo(top, pos);
}

QWindow* windowOf(QWidget* widget)
{
    QWidget* top = widget->window();
    if (!top->windowHandle())
        top->winId();
    return top->windowHandle();
}

} // namespace

void moveTo(QWidget* widget, QPoint pos)
{
    QTest::mouseMove(windowOf(widget), inWindow(widget, pos));
}

void clickAt(QWidget* widget, QPoint pos, Qt::MouseButton button)
{
    QTest::mouseClick(windowOf(widget), button, {}, inWindow(widget, pos));
}

void pressAt(QWidget* widget, QPoint pos, Qt::MouseButton button)
{
    QTest::mousePress(windowOf(widget), button, {}, inWindow(widget, pos));
}

void releaseAt(QWidget* widget, QPoint pos, Qt::MouseButton button)
{
    QTest::mouseRelease(windowOf(widget), button, {}, inWindow(widget, pos));
}
