#include "platform/report/ReportControl.h"

#include "platform/report/ReportRun.h"

namespace report {

ReportControl::ReportControl(Destination destination) : m_destination(std::move(destination)) {}

void ReportControl::setAction(short action)
{
    if (action != 1)
        return;
    if (m_starter)
        return m_starter(m_reportFileName, m_openDiary);
    const ReportFile report = runReportToFile(m_reportFileName, m_openDiary, QString(), m_progress);
    if (m_destination)
        m_destination(report);
}

} // namespace report
