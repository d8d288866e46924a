#pragma once

#include <QDateTimeEdit>

namespace varnel {

// A date-time edit that shows Kannada digits. Its own machinery keeps parsing ASCII digits: the
// text is converted both ways at the boundary (the two digit sets have the same length, so the
// sections stay where they are).
//
// It is one stop of the window's tab order: Tab and Shift+Tab leave it, the arrow keys move
// between its sections. A click or the arrow keys put the caret into a section; what is typed
// next replaces that section, as typing does after tabbing in.
//
// committed() says that the user has finished with the value shown: typing reached the end of
// the last section, Enter, the focus left, a click elsewhere (an image button takes no focus),
// a step (arrow key, wheel), or the month view closed. Digits still being typed are not
// committed: 15/01/2026 on the way to 15/01/2027 is never a value the user meant.
class KannadaDateTimeEdit : public QDateTimeEdit {
    Q_OBJECT
public:
    explicit KannadaDateTimeEdit(QWidget* parent = nullptr);

    void stepBy(int steps) override;

signals:
    void committed();

protected:
    QString textFromDateTime(const QDateTime& dateTime) const override;
    QDateTime dateTimeFromText(const QString& text) const override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    // Before the first text after a click or a caret move: the section under the caret is
    // selected.
    void typingAfterCaretPlaced(bool typesText);
    // After typed text: the last section is whole and the caret stands at its end.
    void commitIfTypedToTheEnd();

    bool m_caretPlaced = false;
};

} // namespace varnel
