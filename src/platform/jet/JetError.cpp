#include "platform/jet/JetError.h"

#include <utility>

namespace jet {

JetError::JetError(int number, QString text)
    : m_number(number), m_text(std::move(text)),
      m_what(QStringLiteral("%1: %2").arg(number).arg(m_text).toUtf8())
{
}

const char* JetError::what() const noexcept
{
    return m_what.constData();
}

} // namespace jet
