#include "backup/DiaryExport.h"

#include <QDir>
#include <QSaveFile>

#include "backup/DiaryIdentity.h"
#include "backup/ExportCalendar.h"
#include "backup/ExportCsv.h"
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
