#include "shell/WindowRegistry.h"

#include <optional>

#include <QHash>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

#include "shell/BusyPointer.h"
#include "shell/Pictures.h"
#include "shell/frmMDI.h"
#include "shell/frmhelp.h"

namespace {

QHash<QString, ChildWindowFactory>& factories()
{
    static QHash<QString, ChildWindowFactory> map{
        {QStringLiteral("frmhelp"), [] { return new frmhelp; }},
    };
    return map;
}

QHash<QString, QPointer<QWidget>>& openWindows()
{
    static QHash<QString, QPointer<QWidget>> map;
    return map;
}

QMdiSubWindow* frameOf(QWidget* window)
{
    for (QWidget* w = window ? window->parentWidget() : nullptr; w; w = w->parentWidget()) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w))
            return sub;
    }
    return nullptr;
}

QWidget* load(const QString& name, const ChildWindowFactory& factory, QMdiArea* area,
              const std::function<void(QWidget*)>& beforeShow)
{
    QWidget* window = factory();
    if (window->objectName().isEmpty())
        window->setObjectName(name);
    const bool maximised = window->windowState() & Qt::WindowMaximized;
    QMdiSubWindow* sub = area->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    if (window->windowIcon().isNull())
        sub->setWindowIcon(Pictures::programIcon());
    openWindows().insert(name, window);
    if (beforeShow)
        beforeShow(window);
    if (maximised)
        sub->showMaximized();
    else
        sub->show();
    area->setActiveSubWindow(sub);
    return window;
}

} // namespace

void registerChildWindow(const QString& name, ChildWindowFactory factory)
{
    factories().insert(name, std::move(factory));
}

void unregisterChildWindow(const QString& name)
{
    factories().remove(name);
}

QWidget* childWindow(const QString& name)
{
    QWidget* window = openWindows().value(name);
    // A closed frame is only deleted once control returns to the event loop; it is gone
    // already.
    QMdiSubWindow* sub = frameOf(window);
    if (window && sub && sub->isHidden()) {
        openWindows().remove(name);
        return nullptr;
    }
    return window;
}

QWidget* openChildWindow(const QString& name, const std::function<void(QWidget*)>& beforeShow,
                         WindowOpening opening)
{
    const auto factory = factories().constFind(name);
    frmMDI* mdi = frmMDI::instance();
    if (factory == factories().constEnd() || !mdi)
        return nullptr;

    std::optional<BusyPointer> busy;
    if (opening == WindowOpening::Busy)
        busy.emplace();

    if (QWidget* open = childWindow(name)) {
        if (beforeShow)
            beforeShow(open);
        if (QMdiSubWindow* sub = frameOf(open)) {
            sub->show();
            sub->raise();
            mdi->mdiArea()->setActiveSubWindow(sub);
        }
        return open;
    }
    return load(name, *factory, mdi->mdiArea(), beforeShow);
}

void unloadChildWindow(QWidget* window)
{
    if (QMdiSubWindow* sub = frameOf(window))
        sub->close();
    else if (window)
        window->close();
}
