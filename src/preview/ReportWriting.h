#pragma once

#include <atomic>

#include <QObject>

#include "platform/report/ReportRun.h"

class QThread;

namespace report {

// A staged report laid out and written on a thread of its own, so that the window showing it
// stays usable: its first pages come first, in a small PDF of their own, then the whole report.
// Pango and cairo are used on that thread alone. The signals come on the owner's thread.
class ReportWriting : public QObject {
    Q_OBJECT
public:
    // Pages written ahead of the count; a report of no more pages comes whole at once.
    static constexpr int kFirstPages = 8;

    explicit ReportWriting(StagedReport report, QObject* parent = nullptr);
    // Stops the run and waits for its thread: nothing it wrote is kept.
    ~ReportWriting() override;

    void start();
    void stop() { m_stop = true; }

signals:
    // The first pages, while the rest is laid out (the run waits until this is handled).
    void firstPages(const report::ReportFile& pages);
    void progressed(const report::ReportProgress& progress);
    void finished(const report::ReportFile& report);
    // Not sent when stopped.
    void failed(const QString& text);

private:
    void run();
    void post(std::function<void()> call);

    StagedReport m_report;
    std::atomic_bool m_stop{false};
    QThread* m_thread = nullptr;
};

} // namespace report
