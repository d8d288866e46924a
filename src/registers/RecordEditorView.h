#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QTime>

#include "platform/varnel/VarnelCodec.h"

namespace registers {

// Which of the register window's image buttons are shown. Save and Exit are always shown.
struct ButtonStates {
    bool imageNew = true;
    bool shapeNew = true;
    bool imageCancel = false;
    bool imageDelete = true;
    bool shapeDelete = true;

    bool operator==(const ButtonStates&) const = default;
};

// What the record editor needs of its window. The window implements it with real controls;
// tests implement it with plain values, so the editor runs without a screen.
class RecordEditorView {
public:
    virtual ~RecordEditorView() = default;

    // Fields, addressed by the column ordinal they show.
    virtual void setSerialText(const QString& text) = 0; // TxtSl_no
    virtual QString serialText() const = 0;
    virtual void setDate(int ordinal, const QDate& date) = 0; // a date picker, set in code
    virtual QDate date(int ordinal) const = 0;
    virtual void setTime(int ordinal, const QTime& time) = 0; // a time picker, set in code
    virtual QTime time(int ordinal) const = 0;
    virtual void setText(int ordinal, const QByteArray& varnel) = 0; // text boxes, day names too
    virtual varnel::Encoded text(int ordinal) const = 0;

    // The navigator VScroll1. Setting the value or lowering the maximum below the value runs
    // the editor's VScroll1_Change, as a scroll bar's change event does.
    virtual void setNavigatorMaximum(int maximum) = 0;
    virtual void setNavigatorValue(int value) = 0;
    virtual int navigatorValue() const = 0;
    virtual void setNavigatorEnabled(bool enabled) = 0;

    virtual void setButtons(const ButtonStates& states) = 0;
    // After Cancel, the New icon stands where the Cancel icon was: its caption replaces Cancel's.
    virtual void showNewCaptionInsteadOfCancel() = 0;

    // Dialogs: Varnel texts of the system, or Unicode texts of our own notices.
    virtual bool ask(const QByteArray& varnelQuestion) = 0;
    virtual void message(const QByteArray& varnelMessage) = 0;
    virtual void messageText(const QString& unicodeMessage) = 0;
    virtual void saveNotice() = 0;
    // A question of our own in Unicode Kannada; a window asks it as it is.
    virtual bool askText(const QString& unicodeQuestion)
    {
        return ask(varnel::encode(unicodeQuestion).bytes);
    }
    // Whether the editor has a step to take back (the window's undo entry).
    virtual void setUndoAvailable(bool) {}
};

} // namespace registers
