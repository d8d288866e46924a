#include "platform/varnel/KannadaDateTimeEdit.h"

#include <QLocale>

#include "platform/varnel/KannadaDigits.h"

namespace varnel {

KannadaDateTimeEdit::KannadaDateTimeEdit(QWidget* parent) : QDateTimeEdit(parent)
{
    // The formats are fixed patterns; keep the parser away from regional names and digits.
    setLocale(QLocale::c());
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

} // namespace varnel
