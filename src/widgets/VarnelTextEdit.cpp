#include "widgets/VarnelTextEdit.h"

#include <QTextCursor>

#include "widgets/KannadaTypingBox.h"
#include "widgets/TextSelection.h"

namespace varnel {

VarnelTextEdit::VarnelTextEdit(QWidget* parent)
    : QPlainTextEdit(parent), m_typing(new KannadaTypingBox(this, viewport()))
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // Tab and Shift+Tab move through the window's fields; no stored text holds a TAB.
    setTabChangesFocus(true);
}

void VarnelTextEdit::setVarnel(const QByteArray& bytes)
{
    m_typing->discard();
    setPlainText(m_state.load(bytes));
}

Encoded VarnelTextEdit::varnel() const
{
    // A word still composing when the box is read (Save clicked mid-word) is part of the text.
    m_typing->finish();
    return m_state.result(toPlainText());
}

int VarnelTextEdit::SelStart() const
{
    return textCursor().selectionStart();
}

int VarnelTextEdit::SelLength() const
{
    const QTextCursor c = textCursor();
    return c.selectionEnd() - c.selectionStart();
}

void VarnelTextEdit::setSelStart(int start)
{
    QTextCursor c = textCursor();
    c.setPosition(clampedPosition(start, document()->characterCount() - 1));
    setTextCursor(c);
}

void VarnelTextEdit::setSelLength(int length)
{
    QTextCursor c = textCursor();
    const int start = c.selectionStart();
    c.setPosition(start);
    c.setPosition(clampedPosition(start + length, document()->characterCount() - 1),
                  QTextCursor::KeepAnchor);
    setTextCursor(c);
}

} // namespace varnel
