#include "legacy/LegacyError.h"

namespace legacy {

LegacyError::LegacyError(QString text) : m_text(std::move(text)), m_what(m_text.toUtf8()) {}

const char* LegacyError::what() const noexcept
{
    return m_what.constData();
}

} // namespace legacy
