#pragma once

#include <QDateTimeEdit>

namespace varnel {

// A date-time edit that shows Kannada digits. Its own machinery keeps parsing ASCII digits: the
// text is converted both ways at the boundary (the two digit sets have the same length, so the
// sections stay where they are).
//
// It is one stop of the window's tab order: Tab and Shift+Tab leave it, the arrow keys move
// between its sections. A click puts the caret into a section; what is typed next replaces
// that section, as typing does after tabbing in.
class KannadaDateTimeEdit : public QDateTimeEdit {
    Q_OBJECT
public:
    explicit KannadaDateTimeEdit(QWidget* parent = nullptr);

protected:
    QString textFromDateTime(const QDateTime& dateTime) const override;
    QDateTime dateTimeFromText(const QString& text) const override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    // Before the first text after a click: the section under the caret is selected.
    void typingAfterClick(bool typesText);

    bool m_clickedIntoSection = false;
};

} // namespace varnel
