#pragma once

#include <functional>
#include <utility>

#include <QString>

#include "platform/report/ReportRun.h"

namespace report {

// The report control of the report windows. The program sets two properties, in this order,
// and reads nothing back: ReportFileName, the template's full path, and Action = 1, which runs
// the template (see runReport) into a scratch file and hands the finished report to the
// destination, the preview window in the program. Other actions do nothing. A failure throws
// (ReportError, JetError) and nothing reaches the destination.
class ReportControl {
public:
    using Destination = std::function<void(const ReportFile&)>;

    // Or a run handed over as it starts, for the report to be laid out elsewhere: the template's
    // path and how to reach its diary.
    using Starter = std::function<void(const QString& templatePath, const DiaryOpener& openDiary)>;

    explicit ReportControl(Destination destination = {});
    // Action = 1 hands the run to `starter` instead of running it here.
    void setStarter(Starter starter) { m_starter = std::move(starter); }

    QString ReportFileName() const { return m_reportFileName; }
    void setReportFileName(const QString& path) { m_reportFileName = path; }
    void setAction(short action);
    // How the run reaches the diary: the caller's connection that staged the rows.
    void setDiaryOpener(DiaryOpener opener) { m_openDiary = std::move(opener); }
    // Told how far a run has come; false stops it (ReportCancelled).
    void setProgress(ProgressFn progress) { m_progress = std::move(progress); }

private:
    Destination m_destination;
    Starter m_starter;
    QString m_reportFileName;
    DiaryOpener m_openDiary;
    ProgressFn m_progress;
};

} // namespace report
