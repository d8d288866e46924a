#include "find/ui/FindWindows.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "find/ui/frmfindall.h"
#include "shell/FailureReport.h"
#include "shell/MenuKeys.h"
#include "shell/WindowRegistry.h"
#include "shell/frmMDI.h"

namespace find {

namespace {

// Sees the key before the control that has the focus, as the menu strip's keys are seen.
class FindKey : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress ||
            static_cast<QKeyEvent*>(event)->keyCombination() != kFindKey)
            return false;
        frmMDI* mdi = frmMDI::instance();
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!mdi || !widget || widget->window() != mdi || QApplication::activeModalWidget() ||
            mdi->menuKeys()->isActive())
            return false;
        runReported(mdi, [] {
            if (QWidget* window = openChildWindow(QStringLiteral("frmfindall")))
                window->findChild<QWidget*>(QStringLiteral("TxtFind"))->setFocus();
        });
        return true;
    }
};

} // namespace

void registerFindWindow()
{
    registerChildWindow(QStringLiteral("frmfindall"), [] { return new frmfindall; });
    static FindKey* key = nullptr;
    if (!key && qApp) {
        key = new FindKey(qApp);
        qApp->installEventFilter(key);
    }
}

} // namespace find
