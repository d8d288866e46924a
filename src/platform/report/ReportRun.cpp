#include "platform/report/ReportRun.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include "platform/jet/Database.h"
#include "platform/report/ReportError.h"
#include "platform/report/ReportTemplate.h"
#include "platform/report/StagingTable.h"

namespace report {

QString existingProgramFile(const QString& path)
{
    if (QFileInfo(path).isFile())
        return path;
    const qsizetype at =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    QString folder = at < 0 ? QStringLiteral(".") : path.left(at);
    if (!QFileInfo(folder).isDir())
        folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString name = path.mid(at + 1);
    const QDir dir(folder);
    for (const QString& entry : dir.entryList(QDir::Files, QDir::Name)) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return path;
}

namespace {

struct OpenedDiary {
    ReportTemplate layout;
    // Held while the rows are read: the window that staged them keeps its own.
    std::shared_ptr<jet::Database> database;
};

OpenedDiary openDiaryOf(const QString& templatePath, const DiaryOpener& openDiary,
                        const QString& diaryPath)
{
    const QString file = existingProgramFile(templatePath);
    OpenedDiary out{readReportTemplate(file), nullptr};
    const QString diary =
        diaryPath.isEmpty() ? QFileInfo(file).dir().filePath(out.layout.database) : diaryPath;
    out.database = openDiary(diary);
    if (!out.database)
        throw ReportError(QStringLiteral(u"ವರದಿಯ ನಮೂನೆ %1 ಹೇಳುವ ದಿನಚರಿಯ ಕಡತ %2 ಸಿಗಲಿಲ್ಲ.")
                              .arg(QFileInfo(file).fileName(), diary));
    return out;
}

ReportFile scratchFile()
{
    ReportFile report;
    report.file = std::make_shared<QTemporaryFile>(QDir::tempPath() +
                                                   QStringLiteral("/velmora-report-XXXXXX.pdf"));
    if (!report.file->open())
        throw ReportError(QStringLiteral(u"ವರದಿಗಾಗಿ ತಾತ್ಕಾಲಿಕ ಕಡತ ಮಾಡಲಾಗಲಿಲ್ಲ (%1): %2")
                              .arg(QDir::tempPath(), report.file->errorString()));
    return report;
}

PdfSink scratchSink(QTemporaryFile& out)
{
    return [&out](const char* data, size_t size) {
        if (out.write(data, qint64(size)) != qint64(size))
            throw ReportError(QStringLiteral(u"ವರದಿಯ ತಾತ್ಕಾಲಿಕ ಕಡತ %1 ಬರೆಯಲಾಗಲಿಲ್ಲ: %2")
                                  .arg(out.fileName(), out.errorString()));
    };
}

void closeScratch(QTemporaryFile& out)
{
    if (!out.flush())
        throw ReportError(QStringLiteral(u"ವರದಿಯ ತಾತ್ಕಾಲಿಕ ಕಡತ %1 ಬರೆಯಲಾಗಲಿಲ್ಲ: %2")
                              .arg(out.fileName(), out.errorString()));
    out.close();
}

} // namespace

ReportSummary writeReport(const QString& templatePath, const DiaryOpener& openDiary,
                          const QString& diaryPath, const PdfSink& sink, const ProgressFn& progress)
{
    const OpenedDiary opened = openDiaryOf(templatePath, openDiary, diaryPath);
    StagingReader rows(*opened.database, opened.layout.table);
    const PdfOutcome out = writeReportPdf(opened.layout, rows, sink, progress);
    return ReportSummary{opened.layout.title, out.pages, out.rows, out.notes};
}

StagedReport readStagedReport(const QString& templatePath, const DiaryOpener& openDiary,
                              const QString& diaryPath)
{
    OpenedDiary opened = openDiaryOf(templatePath, openDiary, diaryPath);
    StagingTable rows = readStagingTable(*opened.database, opened.layout.table);
    return StagedReport{std::move(opened.layout), std::move(rows)};
}

RenderedReport runReport(const QString& templatePath, const DiaryOpener& openDiary,
                         const QString& diaryPath)
{
    RenderedReport report;
    static_cast<ReportSummary&>(report) =
        writeReport(templatePath, openDiary, diaryPath, [&report](const char* data, size_t size) {
            report.pdf.append(data, qsizetype(size));
        });
    return report;
}

QString ReportFile::path() const
{
    return file ? file->fileName() : QString();
}

ReportFile runReportToFile(const QString& templatePath, const DiaryOpener& openDiary,
                           const QString& diaryPath, const ProgressFn& progress)
{
    ReportFile report = scratchFile();
    static_cast<ReportSummary&>(report) =
        writeReport(templatePath, openDiary, diaryPath, scratchSink(*report.file), progress);
    closeScratch(*report.file);
    return report;
}

ReportFile writeReportToFile(const StagedReport& staged, const ProgressFn& progress, int count,
                             const std::function<void(const ReportFile& pages)>& firstPages)
{
    ReportFile report = scratchFile();
    ReportFile pages = count > 0 ? scratchFile() : ReportFile();
    FirstPages first;
    if (count > 0) {
        first.pages = count;
        first.sink = scratchSink(*pages.file);
        first.written = [&](bool whole) {
            closeScratch(*pages.file);
            pages.title = staged.layout.title;
            pages.pages = count;
            if (!whole && firstPages)
                firstPages(pages);
        };
    }
    TableRows rows(staged.rows);
    const PdfOutcome out = writeReportPdf(staged.layout, rows, scratchSink(*report.file), progress,
                                          count > 0 ? &first : nullptr);
    closeScratch(*report.file);
    static_cast<ReportSummary&>(report) =
        ReportSummary{staged.layout.title, out.pages, out.rows, out.notes};
    return report;
}

} // namespace report
