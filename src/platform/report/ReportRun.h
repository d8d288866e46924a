#pragma once

#include <functional>
#include <memory>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "platform/report/PdfReportWriter.h"
#include "platform/report/ReportTemplate.h"
#include "platform/report/StagingTable.h"

class QTemporaryFile;

namespace jet {
class Database;
}

namespace report {

// What a run tells about the report it wrote.
struct ReportSummary {
    QString title;
    int pages = 0;
    int rows = 0;
    QStringList notes; // to be said once to the user (a font that is not installed)
};

// A finished report held in memory.
struct RenderedReport : ReportSummary {
    QByteArray pdf;
};

// A finished report in a scratch file of its own, removed when the last copy of this goes.
struct ReportFile : ReportSummary {
    std::shared_ptr<QTemporaryFile> file;

    QString path() const;
};

// Opens the diary a template names (its path as the template's folder and `database` give it);
// nullptr when no such diary exists (none is made); throws when it cannot be opened.
using DiaryOpener = std::function<std::shared_ptr<jet::Database>(const QString& diaryPath)>;

// Runs a template: reads it, opens the diary it names (relative to the template's folder;
// `diaryPath` overrides that) through `openDiary`, reads its staging table a chunk at a time
// and streams the report's PDF into `sink` (see writeReportPdf). The template's path may be
// written as the windows write it, folder and name joined by a backslash, and its name is found
// in any letter case. Throws ReportError (ReportCancelled when `progress` said stop) or the
// engine's JetError; what reached `sink` before is then not a whole PDF.
ReportSummary writeReport(const QString& templatePath, const DiaryOpener& openDiary,
                          const QString& diaryPath, const PdfSink& sink,
                          const ProgressFn& progress = {});

// The same into memory, for short reports.
RenderedReport runReport(const QString& templatePath, const DiaryOpener& openDiary,
                         const QString& diaryPath = QString());

// The same into a scratch file in the system's temporary folder (for the preview, which reads
// and prints it from there).
ReportFile runReportToFile(const QString& templatePath, const DiaryOpener& openDiary,
                           const QString& diaryPath = QString(), const ProgressFn& progress = {});

// A run's template and staged rows, read on the caller's thread (a read-only diary stages its
// rows in its connection's own temporary table) so that the pages can be laid out on another.
struct StagedReport {
    ReportTemplate layout;
    StagingTable rows;
};

// Reads a template and the rows of the diary it names as writeReport does; throws as it does.
StagedReport readStagedReport(const QString& templatePath, const DiaryOpener& openDiary,
                              const QString& diaryPath = QString());

// Writes a staged report into a scratch file as runReportToFile does. With `firstPages`, its first
// pages (see FirstPages) are handed to it in a scratch file of their own before the rest is laid
// out, unless the report has no more pages than `count`.
ReportFile writeReportToFile(const StagedReport& report, const ProgressFn& progress = {},
                             int count = 0,
                             const std::function<void(const ReportFile& pages)>& firstPages = {});

// The file `path` names, in the folder it names, found in any letter case; `path` itself when
// there is no such file.
QString existingProgramFile(const QString& path);

} // namespace report
