#include "backup/DiaryExport.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include "backup/DiaryIdentity.h"
#include "backup/ExportCalendar.h"
#include "backup/ExportCsv.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetError.h"

namespace backup {

ExportResult exportRecords(jet::Database& database, ExportRegister which, const QString& statement,
                           ExportFormat format)
{
    const QList<ExportRecord> records = readRecords(database, statement);
    ExportResult result;
    result.records = int(records.size());
    if (format == ExportFormat::Csv)
        result.bytes = exportCsv(which, records);
    else
        result.bytes = exportCalendar(which, records, diaryId(database));
    return result;
}

void refuseDiaryAsTarget(const jet::Database& database, const QString& path)
{
    const QFileInfo target(path);
    const QString diary = QFileInfo(database.path()).absoluteFilePath();
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        const QFileInfo file(diary + QLatin1String(suffix));
        if (target.absoluteFilePath() == file.absoluteFilePath() ||
            (target.exists() && file.exists() &&
             target.canonicalFilePath() == file.canonicalFilePath()))
            throw jet::JetError(jet::errors::kInvalidOperation,
                                QStringLiteral("'%1' is the diary itself; choose another file "
                                               "for the export.")
                                    .arg(QDir::toNativeSeparators(path)));
    }
}

void writeExportFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    const bool written =
        file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    if (written)
        return;
    int number = jet::errors::kDiskIo;
    if (file.error() == QFileDevice::ResourceError)
        number = jet::errors::kDiskFull;
    else if (file.error() == QFileDevice::OpenError ||
             file.error() == QFileDevice::PermissionsError)
        number = jet::errors::kReadOnly;
    throw jet::JetError(number, QStringLiteral("Could not write the file '%1' (%2); nothing was "
                                               "written.")
                                    .arg(QDir::toNativeSeparators(path), file.errorString()));
}

} // namespace backup
