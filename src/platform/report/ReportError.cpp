#include "platform/report/ReportError.h"

namespace report {

ReportError::ReportError(QString text) : m_text(std::move(text)), m_what(m_text.toUtf8()) {}

const char* ReportError::what() const noexcept
{
    return m_what.constData();
}

} // namespace report
