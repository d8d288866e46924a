#include "preview/ReportWriting.h"

#include <QThread>

#include "platform/jet/JetError.h"
#include "platform/report/ReportError.h"

namespace report {

ReportWriting::ReportWriting(StagedReport report, QObject* parent)
    : QObject(parent), m_report(std::move(report))
{
}

ReportWriting::~ReportWriting()
{
    stop();
    if (m_thread) {
        // Past the first pages, where it waits for this thread; it stops within a few rows.
        m_thread->wait();
        delete m_thread;
    }
}

void ReportWriting::start()
{
    m_thread = QThread::create([this] { run(); });
    m_thread->start();
}

void ReportWriting::post(std::function<void()> call)
{
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

void ReportWriting::run()
{
    try {
        const ReportFile report = writeReportToFile(
            m_report,
            [this](const ReportProgress& p) {
                if (m_stop)
                    return false;
                post([this, p] { emit progressed(p); });
                return true;
            },
            kFirstPages,
            [this](const ReportFile& pages) {
                QMetaObject::invokeMethod(
                    this, [this, pages] { emit firstPages(pages); }, Qt::BlockingQueuedConnection);
            });
        post([this, report] { emit finished(report); });
    } catch (const ReportCancelled&) {
        // Stopped: nothing to say, nothing kept.
    } catch (const ReportError& error) {
        post([this, text = error.text()] { emit failed(text); });
    } catch (const jet::JetError& error) {
        post([this, text = error.text()] { emit failed(text); });
    }
    m_report = StagedReport(); // the rows are not needed any more
}

} // namespace report
