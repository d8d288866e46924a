#include "export/DiaryExport.h"

#include "export/DiaryIdentity.h"
#include "export/ExportCalendar.h"
#include "export/ExportCsv.h"
#include "platform/jet/Database.h"

namespace exports {

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

} // namespace exports
