#include "export/DiaryExport.h"

#include <algorithm>

#include "export/DiaryIdentity.h"
#include "export/ExportCalendar.h"
#include "export/ExportCsv.h"
#include "platform/jet/Database.h"

namespace exports {

namespace {

constexpr qsizetype kPieceBytes = 64 * 1024;

} // namespace

ExportResult exportRecords(jet::Database& database, data::Register which, const QString& statement,
                           ExportFormat format)
{
    const QList<data::Record> records = data::readRecords(database, which, statement);
    ExportResult result;
    result.records = int(records.size());
    if (format == ExportFormat::Csv)
        result.bytes = exportCsv(which, records);
    else
        result.bytes = exportCalendar(which, records, diaryId(database));
    return result;
}

int streamRecords(jet::Database& database, data::Register which, const QString& statement,
                  ExportFormat format, const ExportSink& sink)
{
    const bool calendar = format == ExportFormat::Calendar;
    // Made (on its first calendar export) before the rows are read.
    const CalendarWriter writer(which, calendar ? diaryId(database) : QString());
    const QByteArray start = calendar ? writer.start() : exportCsvHeader(which);
    int records = 0;
    // Events are written into one piece that goes to the sink when it is large enough.
    QByteArray piece;
    const auto write = [&](data::Record& record) {
        if (records++ == 0)
            piece += start;
        if (calendar)
            writer.appendEvent(piece, record);
        else
            piece += exportCsvLine(which, record.values);
        if (piece.size() >= kPieceBytes) {
            sink(piece);
            piece.truncate(0);
        }
    };
    data::forEachRecord(database, which, statement, write);
    if (records > 0)
        sink(piece + (calendar ? writer.end() : QByteArray()));
    return records;
}

} // namespace exports
