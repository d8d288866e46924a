#include "platform/varnel/KannadaDigits.h"

#include "platform/varnel/KannadaLetters.h"

namespace varnel {

QString kannadaDigits(QString text)
{
    for (QChar& c : text)
        if (c >= u'0' && c <= u'9')
            c = QChar(kn::DigitZero + (c.unicode() - u'0'));
    return text;
}

QString asciiDigits(QString text)
{
    for (QChar& c : text)
        if (kn::isDigit(c.unicode()))
            c = QChar(u'0' + (c.unicode() - kn::DigitZero));
    return text;
}

} // namespace varnel
