#include "shell/WindowKey.h"

#include <QApplication>
#include <QKeyEvent>
#include <QList>
#include <utility>

#include "shell/FailureReport.h"
#include "shell/MenuKeys.h"
#include "shell/WindowRegistry.h"
#include "shell/frmMDI.h"

namespace shell {

namespace {

class WindowKey : public QObject {
public:
    WindowKey(QKeyCombination key, QString windowName, QString focusChild, QObject* parent)
        : QObject(parent), m_key(key), m_windowName(std::move(windowName)),
          m_focusChild(std::move(focusChild))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress ||
            static_cast<QKeyEvent*>(event)->keyCombination() != m_key)
            return false;
        frmMDI* mdi = frmMDI::instance();
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!mdi || !widget || widget->window() != mdi || QApplication::activeModalWidget() ||
            mdi->menuKeys()->isActive())
            return false;
        runReported(mdi, [this] {
            if (QWidget* window = openChildWindow(m_windowName)) {
                if (auto* child = window->findChild<QWidget*>(m_focusChild))
                    child->setFocus();
            }
        });
        return true;
    }

private:
    QKeyCombination m_key;
    QString m_windowName;
    QString m_focusChild;
};

} // namespace

void openWindowOnKey(QKeyCombination key, const QString& windowName, const QString& focusChild)
{
    static QList<QKeyCombination> installed;
    if (!qApp || installed.contains(key))
        return;
    installed << key;
    qApp->installEventFilter(new WindowKey(key, windowName, focusChild, qApp));
}

} // namespace shell
