#include "platform/report/ReportControl.h"

#include "platform/report/ReportRun.h"

namespace report {

ReportControl::ReportControl(Destination destination) : m_destination(std::move(destination)) {}

void ReportControl::setAction(short action)
{
    if (action != 1)
        return;
    const ReportFile report = runReportToFile(m_reportFileName, m_openDiary, QString(), m_progress);
    if (m_destination)
        m_destination(report);
}

} // namespace report
