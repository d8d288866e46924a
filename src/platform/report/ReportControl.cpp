#include "platform/report/ReportControl.h"

#include "platform/report/ReportRun.h"

namespace report {

ReportControl::ReportControl(Destination destination) : m_destination(std::move(destination)) {}

void ReportControl::setAction(short action)
{
    if (action != 1)
        return;
    const RenderedReport report = runReport(m_reportFileName, m_openDiary);
    if (m_destination)
        m_destination(report);
}

} // namespace report
