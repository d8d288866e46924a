#include "widgets/VarnelTextState.h"

namespace varnel {

// Stored multi-line text uses CR LF between lines, as the diary file's format has it; the editor
// works with LF.
QString VarnelTextState::load(const QByteArray& bytes)
{
    m_bytes = bytes;
    m_shown = decode(bytes);
    if (m_multiLine)
        m_shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return m_shown;
}

Encoded VarnelTextState::result(const QString& shown) const
{
    if (shown == m_shown)
        return {m_bytes, {}};
    if (!m_multiLine)
        return encode(asOneLine(shown));
    QString text = shown;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return encode(text);
}

QString VarnelTextState::asOneLine(QString text)
{
    for (QChar& c : text) {
        if (c.unicode() < 0x20 || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    }
    return text;
}

} // namespace varnel
