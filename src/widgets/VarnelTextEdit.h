#pragma once

#include <QByteArray>
#include <QPlainTextEdit>

#include "platform/varnel/VarnelCodec.h"
#include "widgets/VarnelTextState.h"

namespace varnel {

class KannadaTypingBox;

// A multi-line text box (word wrap, vertical scroll bar) that holds Varnel bytes and shows (and
// takes) Unicode Kannada. Same API as VarnelLineEdit.
class VarnelTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit VarnelTextEdit(QWidget* parent = nullptr);

    void setVarnel(const QByteArray& bytes);
    Encoded varnel() const;

    int SelStart() const;
    int SelLength() const;
    void setSelStart(int start);
    void setSelLength(int length);

    KannadaTypingBox* typing() const { return m_typing; }

private:
    KannadaTypingBox* m_typing;
    VarnelTextState m_state{true};
};

} // namespace varnel
