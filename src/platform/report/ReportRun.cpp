#include "platform/report/ReportRun.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>

#include "platform/jet/Database.h"
#include "platform/report/PdfReportWriter.h"
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

RenderedReport runReport(const QString& templatePath, const DiaryOpener& openDiary,
                         const QString& diaryPath)
{
    const QString file = existingProgramFile(templatePath);
    const ReportTemplate layout = readReportTemplate(file);
    const QString diary =
        diaryPath.isEmpty() ? QFileInfo(file).dir().filePath(layout.database) : diaryPath;
    StagingTable table;
    {
        // Held only while the rows are read: the window that staged them keeps its own.
        const std::shared_ptr<jet::Database> database = openDiary(diary);
        if (!database)
            throw ReportError(QStringLiteral(u"ವರದಿಯ ನಮೂನೆ %1 ಹೇಳುವ ದಿನಚರಿಯ ಕಡತ %2 ಸಿಗಲಿಲ್ಲ.")
                                  .arg(QFileInfo(file).fileName(), diary));
        table = readStagingTable(*database, layout.table);
    }
    RenderedPdf pdf = writeReportPdf(layout, table);
    return RenderedReport{layout.title, std::move(pdf.bytes), pdf.pages, int(table.rows.size())};
}

} // namespace report
