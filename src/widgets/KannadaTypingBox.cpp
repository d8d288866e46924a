#include "widgets/KannadaTypingBox.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTextCharFormat>
#include <QWidget>

#include "typing/KannadaTyping.h"

namespace varnel {

namespace {

bool isModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock: return true;
    default: return false;
    }
}

} // namespace

KannadaTypingBox::KannadaTypingBox(QWidget* box, QWidget* mouseArea) : QObject(box), m_box(box)
{
    box->installEventFilter(this);
    if (mouseArea && mouseArea != box)
        mouseArea->installEventFilter(this);
    connect(&KannadaTyping::instance(), &KannadaTyping::changed, this,
            &KannadaTypingBox::layoutChanged);
}

KannadaTypingBox::~KannadaTypingBox() = default;

KannadaKeyboard* KannadaTypingBox::keyboard()
{
    const KeyboardLayout active = KannadaTyping::instance().activeLayout();
    if (active == KeyboardLayout::Off)
        return nullptr;
    if (!m_keyboard || m_keyboard->layout() != active)
        m_keyboard = std::make_unique<KannadaKeyboard>(active);
    return m_keyboard->isOpen() ? m_keyboard.get() : nullptr;
}

void KannadaTypingBox::layoutChanged()
{
    // A word half typed on the old keyboard is finished as it stands.
    if (m_keyboard && m_keyboard->layout() != KannadaTyping::instance().activeLayout()) {
        finish();
        m_keyboard.reset();
    }
}

void KannadaTypingBox::finish()
{
    if (!m_keyboard)
        return;
    TypedKey typed = m_keyboard->finish();
    // What the map would not finish is kept as it is shown: nothing typed is lost.
    if (!typed.preedit.isEmpty()) {
        typed.commit += typed.preedit;
        typed.preedit.clear();
        m_keyboard->discard();
    }
    show(typed);
}

void KannadaTypingBox::discard()
{
    if (m_keyboard)
        m_keyboard->discard();
    show({});
}

void KannadaTypingBox::show(const TypedKey& typed)
{
    if (typed.commit.isEmpty() && typed.preedit == m_shownPreedit)
        return;
    QList<QInputMethodEvent::Attribute> attributes;
    if (!typed.preedit.isEmpty()) {
        QTextCharFormat underlined;
        underlined.setUnderlineStyle(QTextCharFormat::SingleUnderline);
        attributes.append(
            {QInputMethodEvent::TextFormat, 0, int(typed.preedit.size()), underlined});
    }
    attributes.append({QInputMethodEvent::Cursor, typed.cursor, 1, QVariant()});
    QInputMethodEvent event(typed.preedit, attributes);
    event.setCommitString(typed.commit);
    m_shownPreedit = typed.preedit;
    m_sending = true;
    QCoreApplication::sendEvent(m_box, &event);
    m_sending = false;
}

bool KannadaTypingBox::keyPress(QKeyEvent* event)
{
    if (event->key() == Qt::Key_ScrollLock) {
        finish();
        KannadaTyping::instance().toggle();
        return true;
    }
    if (m_systemComposing || isModifierKey(event->key()) || m_box->property("readOnly").toBool())
        return false;
    KannadaKeyboard* keys = keyboard();
    if (!keys)
        return false;
    const QString name = KannadaKeyboard::keyName(event->key(), event->modifiers(), event->text());
    if (name.isEmpty()) {
        // Arrows, Tab, Delete, shortcuts: they act on finished text.
        finish();
        return false;
    }
    const TypedKey typed = keys->press(name);
    show(typed);
    return typed.taken;
}

bool KannadaTypingBox::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        if (watched == m_box)
            return keyPress(static_cast<QKeyEvent*>(event));
        break;
    case QEvent::InputMethod:
        if (watched == m_box && !m_sending) {
            // A system input method: its text goes in after ours, untouched.
            finish();
            m_systemComposing = !static_cast<QInputMethodEvent*>(event)->preeditString().isEmpty();
        }
        break;
    case QEvent::FocusOut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: finish(); break;
    default: break;
    }
    return false;
}

} // namespace varnel
