#pragma once

#include <functional>

#include <QObject>
#include <QPointer>

class QMouseEvent;
class QWidget;

// Gives a widget the mouse handlers of a form control: MouseMove (with or without a button
// held), MouseDown (any button) and Click (press and release of the primary button on the same
// widget: a right or middle click runs no command). The widget gets mouse tracking so that
// moves without a button reach it.
//
// With backgroundOnly set, only events over the widget's own ground count: not over a child
// that takes mouse events (a label, a text box, an icon), while shapes and lines, which take
// none, count as ground.
class MouseHooks : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(QMouseEvent*)>;

    // The hooks of `widget`, created on first use; they live as long as the widget.
    static MouseHooks* on(QWidget* widget);

    MouseHooks& onMove(Handler handler);
    MouseHooks& onDown(Handler handler);
    MouseHooks& onClick(Handler handler);
    MouseHooks& backgroundOnly(bool on = true);

    // True when `pos` (in the widget's coordinates) lies on the widget's own ground.
    static bool isBackground(QWidget* widget, const QPoint& pos);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit MouseHooks(QWidget* widget);

    QPointer<QWidget> m_widget;
    Handler m_move;
    Handler m_down;
    Handler m_click;
    bool m_backgroundOnly = false;
    bool m_pressed = false;
};
