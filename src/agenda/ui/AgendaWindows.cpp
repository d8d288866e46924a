#include "agenda/ui/AgendaWindows.h"

#include <QApplication>
#include <QKeyEvent>

#include "agenda/ui/frmagenda.h"
#include "shell/FailureReport.h"
#include "shell/MenuKeys.h"
#include "shell/WindowRegistry.h"
#include "shell/frmMDI.h"

namespace agenda {

namespace {

// Sees the key before the control that has the focus, as the find window's key is seen.
class AgendaKey : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress ||
            static_cast<QKeyEvent*>(event)->keyCombination() != kAgendaKey)
            return false;
        frmMDI* mdi = frmMDI::instance();
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!mdi || !widget || widget->window() != mdi || QApplication::activeModalWidget() ||
            mdi->menuKeys()->isActive())
            return false;
        runReported(mdi, [] {
            if (QWidget* window = openChildWindow(QStringLiteral("frmagenda")))
                window->findChild<QWidget*>(QStringLiteral("GridAgenda"))->setFocus();
        });
        return true;
    }
};

} // namespace

void registerAgendaWindow()
{
    registerChildWindow(QStringLiteral("frmagenda"), [] { return new frmagenda; });
    static AgendaKey* key = nullptr;
    if (!key && qApp) {
        key = new AgendaKey(qApp);
        qApp->installEventFilter(key);
    }
}

} // namespace agenda
