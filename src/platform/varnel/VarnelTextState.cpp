#include "platform/varnel/VarnelTextState.h"

namespace varnel {

// Stored multi-line text uses CR LF between lines (the legacy text box wrote them); the editor
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
        return encode(shown);
    QString text = shown;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return encode(text);
}

} // namespace varnel
