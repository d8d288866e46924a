#include "platform/varnel/KannadaDateTimeEdit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>

#include "platform/varnel/KannadaDigits.h"

namespace varnel {

KannadaDateTimeEdit::KannadaDateTimeEdit(QWidget* parent) : QDateTimeEdit(parent)
{
    // The formats are fixed patterns; keep the parser away from regional names and digits.
    setLocale(QLocale::c());
    lineEdit()->installEventFilter(this);
}

QString KannadaDateTimeEdit::textFromDateTime(const QDateTime& dateTime) const
{
    return kannadaDigits(QDateTimeEdit::textFromDateTime(dateTime));
}

QDateTime KannadaDateTimeEdit::dateTimeFromText(const QString& text) const
{
    return QDateTimeEdit::dateTimeFromText(asciiDigits(text));
}

QValidator::State KannadaDateTimeEdit::validate(QString& input, int& pos) const
{
    QString ascii = asciiDigits(input);
    const QValidator::State state = QDateTimeEdit::validate(ascii, pos);
    input = kannadaDigits(ascii);
    return state;
}

void KannadaDateTimeEdit::fixup(QString& input) const
{
    QString ascii = asciiDigits(input);
    QDateTimeEdit::fixup(ascii);
    input = kannadaDigits(ascii);
}

// The stock edit steps through its sections with Tab; here Tab goes to the next control.
bool KannadaDateTimeEdit::focusNextPrevChild(bool next)
{
    return QWidget::focusNextPrevChild(next);
}

bool KannadaDateTimeEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonPress)
        m_clickedIntoSection = true;
    return QDateTimeEdit::eventFilter(watched, event);
}

// After a click the caret stands inside a section with nothing selected, where the stock edit
// refuses a typed digit (the section would grow too long): the first character typed takes
// the whole section instead.
void KannadaDateTimeEdit::typingAfterClick(bool typesText)
{
    if (m_clickedIntoSection && typesText && !lineEdit()->hasSelectedText())
        setSelectedSection(currentSection());
    m_clickedIntoSection = false;
}

void KannadaDateTimeEdit::keyPressEvent(QKeyEvent* event)
{
    typingAfterClick(!event->text().isEmpty() && event->text().at(0).isPrint());
    QDateTimeEdit::keyPressEvent(event);
}

// Text committed by an input method (Kannada digits from a Kannada keyboard) counts as typed;
// a preedit before it does not.
bool KannadaDateTimeEdit::event(QEvent* event)
{
    if (event->type() == QEvent::InputMethod &&
        !static_cast<QInputMethodEvent*>(event)->commitString().isEmpty())
        typingAfterClick(true);
    return QDateTimeEdit::event(event);
}

void KannadaDateTimeEdit::focusOutEvent(QFocusEvent* event)
{
    m_clickedIntoSection = false;
    QDateTimeEdit::focusOutEvent(event);
}

} // namespace varnel
