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

// The size a window's form was laid out in: its controls stand at fixed places, so the form
// needs room for all of them (and a margin like the one at their top left).
QSize formSize(QWidget* window)
{
    const QRect controls = window->childrenRect();
    const QSize fit(controls.right() + 1 + qMax(controls.left(), 0),
                    controls.bottom() + 1 + qMax(controls.top(), 0));
    return window->sizeHint().expandedTo(fit).expandedTo(window->size());
}

QWidget* load(const QString& name, const ChildWindowFactory& factory, QMdiArea* area,
              const std::function<void(QWidget*)>& beforeShow)
{
    QWidget* window = factory();
    if (window->objectName().isEmpty())
        window->setObjectName(name);
    const bool maximised = window->windowState() & Qt::WindowMaximized;
    const QSize form = formSize(window);
    QMdiSubWindow* sub = area->addSubWindow(window);
    // The frame's normal size, which a maximised window comes back to when the user restores
    // it: the form with the frame's title bar and borders around it.
    const QMargins frame = sub->contentsMargins();
    sub->resize(form.grownBy(frame));
    // ... standing inside the client area, a title bar below and right of the window before.
    const int step = frame.top() * (int(area->subWindowList().size()) - 1);
    const QSize room = area->viewport()->size() - sub->size();
    sub->move(qBound(0, step, qMax(room.width(), 0)), qBound(0, step, qMax(room.height(), 0)));
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

bool isChildWindowRegistered(const QString& name)
{
    return factories().contains(name);
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
