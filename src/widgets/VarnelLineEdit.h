#pragma once

#include <QByteArray>
#include <QLineEdit>

#include "platform/varnel/VarnelCodec.h"
#include "widgets/VarnelTextState.h"

namespace varnel {

class KannadaTypingBox;

// A one-line text box that holds Varnel bytes and shows (and takes) Unicode Kannada. A line
// break pasted or inserted into it becomes the space it is shown as, so the box stores what it
// shows.
class VarnelLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit VarnelLineEdit(QWidget* parent = nullptr);

    // Shows the bytes as Kannada and remembers them.
    void setVarnel(const QByteArray& bytes);
    // Untouched text: the bytes given, exactly. Changed text: its encoding, with any refusals.
    Encoded varnel() const;

    // Selection in characters of the text shown (caret position when nothing is selected).
    int SelStart() const;
    int SelLength() const;
    void setSelStart(int start);   // moves the caret; clears the selection
    void setSelLength(int length); // selects from SelStart

    // Kannada typed on the program's keyboard (KGP, ITRANS) goes through this.
    KannadaTypingBox* typing() const { return m_typing; }

private:
    KannadaTypingBox* m_typing;
    VarnelTextState m_state{false};
};

} // namespace varnel
