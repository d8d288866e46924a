#include "backup/DiaryExport.h"

#include "backup/DiaryIdentity.h"
#include "backup/ExportCalendar.h"
#include "backup/ExportCsv.h"
#include "platform/jet/Database.h"

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

} // namespace backup
