#include "platform/varnel/VarnelCodec.h"

#include "platform/varnel/KannadaDigits.h"
#include "platform/varnel/KannadaLetters.h"

namespace varnel {
namespace {

constexpr qsizetype MessageListLimit = 10;

QString kannadaNumber(qsizetype n)
{
    return kannadaDigits(QString::number(n));
}

// How a refused character is named: the character itself where it can be seen, and its code.
QString describe(char32_t c)
{
    const QString code = QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
    const QString text = QString::fromUcs4(&c, 1);
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return QStringLiteral("«\u25CC") + text + QStringLiteral("» ") + code;
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph: return code;
    default: return QStringLiteral("«") + text + QStringLiteral("» ") + code;
    }
}

} // namespace

QString comparableText(QByteArrayView bytes)
{
    QString text = decode(bytes);
    text.removeIf([](QChar c) { return c == kn::Zwj || c == kn::Zwnj; });
    return text;
}

bool sameText(QByteArrayView a, QByteArrayView b)
{
    return a == b || comparableText(a) == comparableText(b);
}

QString refusalMessage(const QList<Refusal>& refusals, RefusedIn in)
{
    if (refusals.isEmpty())
        return {};
    // "These characters of the text cannot be written in the diary's lettering:"
    QString message = QStringLiteral("ಪಠ್ಯದ ಈ ಅಕ್ಷರಗಳನ್ನು ಬರೆಯಲು ಸಾಧ್ಯವಿಲ್ಲ:");
    for (qsizetype i = 0; i < refusals.size() && i < MessageListLimit; ++i) {
        const Refusal& r = refusals.at(i);
        // "... at position N"
        message += QStringLiteral("\n") + describe(r.character) + QStringLiteral(", ಸ್ಥಾನ ") +
                   kannadaNumber(r.position + 1);
    }
    if (refusals.size() > MessageListLimit) {
        // "and N more characters."
        message += QStringLiteral("\nಇನ್ನೂ ") + kannadaNumber(refusals.size() - MessageListLimit) +
                   QStringLiteral(" ಅಕ್ಷರಗಳು.");
    }
    if (in == RefusedIn::Searching) {
        // "Remove them and search again."
        message += QStringLiteral("\nಅವುಗಳನ್ನು ತೆಗೆದು ಮತ್ತೆ ಹುಡುಕಿ.");
    } else {
        // "Remove them (Latin letters, other scripts) and try again. Nothing was saved."
        message += QStringLiteral("\nಅವುಗಳನ್ನು ತೆಗೆದು ಮತ್ತೆ ಪ್ರಯತ್ನಿಸಿ. ಏನನ್ನೂ ಉಳಿಸಿಲ್ಲ.");
    }
    return message;
}

QByteArray fromStoredText(QStringView latin1)
{
    QByteArray bytes(latin1.size(), Qt::Uninitialized);
    char* out = bytes.data();
    for (QChar c : latin1) {
        const char16_t u = c.unicode();
        if (u < 0x100) {
            *out++ = char(u);
            continue;
        }
        // A driver that went through Windows-1252 hands back these for bytes 80-9F.
        static constexpr char16_t cp1252[32] = {
            0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
            0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
            0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
        char byte = '\x7F'; // not text: reads back as an unknown glyph, never as a letter
        for (int i = 0; i < 32; ++i)
            if (cp1252[i] == u)
                byte = char(0x80 + i);
        *out++ = byte;
    }
    return bytes;
}

QString toStoredText(QByteArrayView bytes)
{
    return QString::fromLatin1(bytes);
}

} // namespace varnel
