#include "widgets/VarnelLineEdit.h"

#include "widgets/KannadaTypingBox.h"
#include "widgets/TextSelection.h"

namespace varnel {

VarnelLineEdit::VarnelLineEdit(QWidget* parent)
    : QLineEdit(parent), m_typing(new KannadaTypingBox(this, this))
{
    // Only the user's edits: text set in code (stored bytes) is shown as it is.
    connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QString oneLine = VarnelTextState::asOneLine(text);
        if (oneLine == text)
            return;
        const int caret = cursorPosition();
        setText(oneLine);
        setCursorPosition(caret);
    });
}

void VarnelLineEdit::setVarnel(const QByteArray& bytes)
{
    m_typing->discard();
    setText(m_state.load(bytes));
}

Encoded VarnelLineEdit::varnel() const
{
    // A word still composing when the box is read (Save clicked mid-word) is part of the text.
    m_typing->finish();
    return m_state.result(text());
}

int VarnelLineEdit::SelStart() const
{
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

int VarnelLineEdit::SelLength() const
{
    return hasSelectedText() ? selectionLength() : 0;
}

void VarnelLineEdit::setSelStart(int start)
{
    setCursorPosition(clampedPosition(start, text().size()));
}

void VarnelLineEdit::setSelLength(int length)
{
    const int start = SelStart();
    setSelection(start, clampedPosition(start + length, text().size()) - start);
}

} // namespace varnel
