#include "shell/MouseHooks.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

MouseHooks::MouseHooks(QWidget* widget) : QObject(widget), m_widget(widget)
{
    widget->setMouseTracking(true);
    // A control's mouse events are its own: they never reach the window beneath it (a drag
    // off an icon must not count as a move over the window's ground).
    widget->setAttribute(Qt::WA_NoMousePropagation);
    widget->installEventFilter(this);
}

MouseHooks* MouseHooks::on(QWidget* widget)
{
    if (auto* existing = widget->findChild<MouseHooks*>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new MouseHooks(widget);
}

MouseHooks& MouseHooks::onMove(Handler handler)
{
    m_move = std::move(handler);
    return *this;
}

MouseHooks& MouseHooks::onDown(Handler handler)
{
    m_down = std::move(handler);
    return *this;
}

MouseHooks& MouseHooks::onClick(Handler handler)
{
    m_click = std::move(handler);
    return *this;
}

MouseHooks& MouseHooks::backgroundOnly(bool on)
{
    m_backgroundOnly = on;
    return *this;
}

bool MouseHooks::isBackground(QWidget* widget, const QPoint& pos)
{
    QWidget* under = widget->childAt(pos);
    for (QWidget* w = under; w && w != widget; w = w->parentWidget()) {
        if (!w->testAttribute(Qt::WA_TransparentForMouseEvents))
            return false;
    }
    return true;
}

bool MouseHooks::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_widget)
        return false;
    const auto type = event->type();
    if (type != QEvent::MouseMove && type != QEvent::MouseButtonPress &&
        type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick)
        return false;
    auto* me = static_cast<QMouseEvent*>(event);
    const QPoint pos = me->position().toPoint();
    if (m_backgroundOnly && !isBackground(m_widget, pos)) {
        if (type == QEvent::MouseButtonPress)
            m_pressed = false;
        return false;
    }
    // Copies: a handler may close the window and so destroy this object.
    switch (type) {
    case QEvent::MouseMove:
        if (auto h = m_move)
            h(me);
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // The second press of a double click is no new click: a command runs once.
        m_pressed = type == QEvent::MouseButtonPress && me->button() == Qt::LeftButton;
        if (auto h = m_down)
            h(me);
        break;
    case QEvent::MouseButtonRelease:
        if (m_pressed && me->button() == Qt::LeftButton && m_widget &&
            m_widget->rect().contains(pos)) {
            m_pressed = false;
            if (auto h = m_click)
                h(me);
        } else {
            m_pressed = false;
        }
        break;
    default: break;
    }
    return false;
}
