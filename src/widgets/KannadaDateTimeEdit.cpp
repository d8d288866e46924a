#include "widgets/KannadaDateTimeEdit.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QTimer>

#include "platform/varnel/KannadaDigits.h"

namespace varnel {

KannadaDateTimeEdit::KannadaDateTimeEdit(QWidget* parent) : QDateTimeEdit(parent)
{
    // The formats are fixed patterns; keep the parser away from regional names and digits.
    setLocale(QLocale::c());
    lineEdit()->installEventFilter(this);
    // Enter and the focus leaving.
    connect(this, &QAbstractSpinBox::editingFinished, this, &KannadaDateTimeEdit::committed);
}

void KannadaDateTimeEdit::stepBy(int steps)
{
    QDateTimeEdit::stepBy(steps);
    emit committed();
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
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonPress) {
        m_caretPlaced = true;
    } else if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType()) {
        // Watched for the whole program while the edit has the focus: a press outside it
        // (and outside its month view) ends the typing before the press does its work.
        auto* widget = static_cast<QWidget*>(watched);
        const QCalendarWidget* calendar = calendarPopup() ? calendarWidget() : nullptr;
        if (!isAncestorOf(widget) && widget != this &&
            !(calendar && widget->window() == calendar->window()))
            emit committed();
    } else if (calendarPopup() && watched == calendarWidget() && event->type() == QEvent::Hide) {
        // The month view closed: chosen, or put back by Escape. The edit takes its date first.
        QTimer::singleShot(0, this, &KannadaDateTimeEdit::committed);
    }
    return QDateTimeEdit::eventFilter(watched, event);
}

// After a click or a caret move the caret stands inside a section with nothing selected, where
// the stock edit refuses a typed digit (the section would grow too long): the first character
// typed takes the whole section instead.
void KannadaDateTimeEdit::typingAfterCaretPlaced(bool typesText)
{
    if (m_caretPlaced && typesText && !lineEdit()->hasSelectedText())
        setSelectedSection(currentSection());
    m_caretPlaced = false;
}

// Every section of the formats is of fixed width, so the text is whole when it is as long as
// the format; the last section is done when the caret stands after it.
void KannadaDateTimeEdit::commitIfTypedToTheEnd()
{
    const QString format = displayFormat();
    const qsizetype end = format.trimmed().size();
    if (lineEdit()->text().size() == format.size() && lineEdit()->cursorPosition() >= end)
        emit committed();
}

void KannadaDateTimeEdit::keyPressEvent(QKeyEvent* event)
{
    const bool typesText = !event->text().isEmpty() && event->text().at(0).isPrint();
    typingAfterCaretPlaced(typesText);
    QDateTimeEdit::keyPressEvent(event);
    if (typesText) {
        commitIfTypedToTheEnd();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End: m_caretPlaced = !(event->modifiers() & Qt::ShiftModifier); break;
    default: break;
    }
}

// Text committed by an input method (Kannada digits from a Kannada keyboard) counts as typed;
// a preedit before it does not.
bool KannadaDateTimeEdit::event(QEvent* event)
{
    const bool typed = event->type() == QEvent::InputMethod &&
                       !static_cast<QInputMethodEvent*>(event)->commitString().isEmpty();
    if (typed)
        typingAfterCaretPlaced(true);
    const bool handled = QDateTimeEdit::event(event);
    if (typed)
        commitIfTypedToTheEnd();
    return handled;
}

void KannadaDateTimeEdit::focusInEvent(QFocusEvent* event)
{
    QDateTimeEdit::focusInEvent(event);
    qApp->installEventFilter(this);
}

void KannadaDateTimeEdit::focusOutEvent(QFocusEvent* event)
{
    qApp->removeEventFilter(this);
    m_caretPlaced = false;
    QDateTimeEdit::focusOutEvent(event);
}

} // namespace varnel
