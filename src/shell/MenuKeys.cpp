#include "shell/MenuKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "shell/frmMDI.h"
#include "shell/frmMenu.h"

namespace {

using Handler = void (frmMDI::*)();
constexpr Handler kHover[MenuStrip::kLabels] = {
    &frmMDI::Label1_MouseMove, &frmMDI::Label2_MouseMove, &frmMDI::Label3_MouseMove,
    &frmMDI::Label4_MouseMove};
constexpr Handler kClick[MenuStrip::kLabels] = {&frmMDI::Label1_Click, &frmMDI::Label2_Click,
                                                &frmMDI::Label3_Click, &frmMDI::Label4_Click};

int wrapped(int value, int count)
{
    return ((value % count) + count) % count;
}

} // namespace

MenuKeys::MenuKeys(frmMDI* mdi) : QObject(mdi), m_mdi(mdi)
{
    // Keys go to whichever control has the focus; F10 and Alt must be seen from all of them.
    qApp->installEventFilter(this);
}

bool MenuKeys::forMainWindow(QObject* watched) const
{
    auto* widget = qobject_cast<QWidget*>(watched);
    return widget && widget->window() == m_mdi && !QApplication::activeModalWidget();
}

bool MenuKeys::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        if (!forMainWindow(watched))
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        // The platform may or may not count Alt among the modifiers of its own press.
        const bool bareAlt =
            key->key() == Qt::Key_Alt && (key->modifiers() & ~Qt::AltModifier) == Qt::NoModifier;
        m_altAlone = bareAlt;
        if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::NoModifier) {
            m_active ? leave() : enter();
            return true;
        }
        // The platform's close command for the child window in front, as its close button.
        if (key->key() == Qt::Key_F4 && key->modifiers() == Qt::ControlModifier) {
            if (QMdiSubWindow* window = m_mdi->mdiArea()->activeSubWindow())
                window->close();
            return true;
        }
        if (m_active && watched == m_mdi->Picture1) {
            navigate(key);
            return true;
        }
        return false;
    }
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Alt || !m_altAlone || !forMainWindow(watched))
            return false;
        m_altAlone = false;
        m_active ? leave() : enter();
        return true;
    }
    case QEvent::MouseButtonPress: m_altAlone = false; break;
    case QEvent::FocusOut:
        // A click elsewhere takes the keyboard from the strip; the mouse's state stays.
        if (watched == m_mdi->Picture1)
            m_active = false;
        break;
    default: break;
    }
    return false;
}

void MenuKeys::enter()
{
    m_returnFocus = QApplication::focusWidget();
    m_mdi->Picture1->setFocus(Qt::ShortcutFocusReason);
    m_active = true;
    hover(1);
}

void MenuKeys::leave()
{
    m_active = false;
    m_mdi->MDIForm_Click();
    if (m_returnFocus)
        m_returnFocus->setFocus(Qt::OtherFocusReason);
    else
        m_mdi->setFocus(Qt::OtherFocusReason);
}

void MenuKeys::hover(int label)
{
    m_label = label;
    (m_mdi->*kHover[label - 1])();
    if (frmMenu* popup = m_mdi->popup(label))
        popup->highlightEntry(0);
}

void MenuKeys::open()
{
    (m_mdi->*kClick[m_label - 1])();
    if (frmMenu* popup = m_mdi->popup(m_label))
        popup->highlightEntry(0);
}

void MenuKeys::moveEntry(int step)
{
    frmMenu* popup = m_mdi->popup(m_label);
    if (!popup)
        return;
    const int current = popup->highlightedEntry();
    const int next = current < 0 ? (step > 0 ? 0 : popup->entryCount() - 1)
                                 : wrapped(current + step, popup->entryCount());
    popup->highlightEntry(next);
}

void MenuKeys::choose()
{
    frmMenu* popup = m_mdi->popup(m_label);
    const int entry = popup ? popup->highlightedEntry() : -1;
    if (entry < 0)
        return;
    m_active = false;
    QMdiArea* area = m_mdi->mdiArea();
    const QPointer<QMdiSubWindow> before = area->activeSubWindow();
    popup->chooseEntry(entry);
    if (QApplication::focusWidget() != m_mdi->Picture1)
        return;
    // A window the entry opened or brought forward gets the focus; after an entry that opened
    // none (a keyboard, the about window) the control that had it before F10 gets it back.
    QMdiSubWindow* front = area->activeSubWindow();
    if (front && front != before)
        front->setFocus(Qt::OtherFocusReason);
    else if (m_returnFocus && m_returnFocus->isVisible())
        m_returnFocus->setFocus(Qt::OtherFocusReason);
    else if (front)
        front->setFocus(Qt::OtherFocusReason);
}

void MenuKeys::navigate(QKeyEvent* event)
{
    // The mouse may have moved the highlight or the pop-up meanwhile: the keys go on from there.
    const MenuStrip& strip = m_mdi->strip();
    if (strip.openPopup())
        m_label = strip.openPopup();
    for (int n = 1; n <= MenuStrip::kLabels && !strip.openPopup(); ++n) {
        if (strip.highlighted(n))
            m_label = n;
    }
    const bool open = m_mdi->strip().MenuOpen() && m_mdi->popup(m_label);
    switch (event->key()) {
    case Qt::Key_Left: hover(wrapped(m_label - 2, MenuStrip::kLabels) + 1); break;
    case Qt::Key_Right: hover(wrapped(m_label, MenuStrip::kLabels) + 1); break;
    case Qt::Key_Down:
        if (open)
            moveEntry(1);
        else
            this->open();
        break;
    case Qt::Key_Up:
        if (open)
            moveEntry(-1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (open)
            choose();
        else
            this->open();
        break;
    case Qt::Key_Escape:
        if (open) {
            m_mdi->MDIForm_Click();
            hover(m_label);
        } else {
            leave();
        }
        break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: leave(); break;
    default: break;
    }
}
