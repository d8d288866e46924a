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

ReportSummary writeReport(const QString& templatePath, const DiaryOpener& openDiary,
                          const QString& diaryPath, const PdfSink& sink, const ProgressFn& progress)
{
    const QString file = existingProgramFile(templatePath);
    const ReportTemplate layout = readReportTemplate(file);
    const QString diary =
        diaryPath.isEmpty() ? QFileInfo(file).dir().filePath(layout.database) : diaryPath;
    // Held while the rows are read: the window that staged them keeps its own.
    const std::shared_ptr<jet::Database> database = openDiary(diary);
    if (!database)
        throw ReportError(QStringLiteral(u"ವರದಿಯ ನಮೂನೆ %1 ಹೇಳುವ ದಿನಚರಿಯ ಕಡತ %2 ಸಿಗಲಿಲ್ಲ.")
                              .arg(QFileInfo(file).fileName(), diary));
    StagingReader rows(*database, layout.table);
    const PdfOutcome out = writeReportPdf(layout, rows, sink, progress);
    return ReportSummary{layout.title, out.pages, out.rows, out.notes};
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
    ReportFile report;
    report.file = std::make_shared<QTemporaryFile>(QDir::tempPath() +
                                                   QStringLiteral("/velmora-report-XXXXXX.pdf"));
    if (!report.file->open())
        throw ReportError(QStringLiteral(u"ವರದಿಗಾಗಿ ತಾತ್ಕಾಲಿಕ ಕಡತ ಮಾಡಲಾಗಲಿಲ್ಲ (%1): %2")
                              .arg(QDir::tempPath(), report.file->errorString()));
    QTemporaryFile& out = *report.file;
    static_cast<ReportSummary&>(report) = writeReport(
        templatePath, openDiary, diaryPath,
        [&out](const char* data, size_t size) {
            if (out.write(data, qint64(size)) != qint64(size))
                throw ReportError(QStringLiteral(u"ವರದಿಯ ತಾತ್ಕಾಲಿಕ ಕಡತ %1 ಬರೆಯಲಾಗಲಿಲ್ಲ: %2")
                                      .arg(out.fileName(), out.errorString()));
        },
        progress);
    if (!out.flush())
        throw ReportError(QStringLiteral(u"ವರದಿಯ ತಾತ್ಕಾಲಿಕ ಕಡತ %1 ಬರೆಯಲಾಗಲಿಲ್ಲ: %2")
                              .arg(out.fileName(), out.errorString()));
    out.close();
    return report;
}

} // namespace report
