#pragma once

#include <QObject>
#include <QPointer>

class QKeyEvent;
class QWidget;
class frmMDI;

// The menu strip and its pop-ups by keyboard. F10, or Alt pressed and let go on its own, lights
// the first strip label; Left and Right move along the strip (an open pop-up follows, as it
// follows the mouse), Down, Enter or Space opens the lit label's pop-up, Up and Down move through
// its entries, Enter or Space chooses one, Escape closes the pop-up and then leaves the strip,
// giving the focus back. F10 again leaves at once. Every mouse reaction stays as it is: the keys
// drive the same label and entry handlers the mouse does. Ctrl+F4 closes the child window in
// front, as its close button does.
class MenuKeys : public QObject {
    Q_OBJECT
public:
    explicit MenuKeys(frmMDI* mdi);

    // The strip has the keyboard.
    bool isActive() const { return m_active; }
    // The lit label (1 to 4) while active.
    int label() const { return m_label; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool forMainWindow(QObject* watched) const;
    void enter();
    void leave();
    void navigate(QKeyEvent* event);
    void hover(int label);
    void open();
    void choose();
    void moveEntry(int step);

    frmMDI* m_mdi;
    QPointer<QWidget> m_returnFocus;
    bool m_active = false;
    bool m_altAlone = false;
    int m_label = 1;
};
