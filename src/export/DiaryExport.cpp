#include "export/DiaryExport.h"

#include <algorithm>

#include "export/DiaryIdentity.h"
#include "export/ExportCalendar.h"
#include "export/ExportCsv.h"
#include "platform/jet/Database.h"
#include "platform/jet/RowsAhead.h"

namespace exports {

namespace {

constexpr qsizetype kPieceBytes = 64 * 1024;

} // namespace

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

int streamRecords(jet::Database& database, ExportRegister which, const QString& statement,
                  ExportFormat format, const ExportSink& sink)
{
    const bool calendar = format == ExportFormat::Calendar;
    // Made (on its first calendar export) before the rows are read.
    const CalendarWriter writer(which, calendar ? diaryId(database) : QString());
    const QByteArray start = calendar ? writer.start() : exportCsvHeader(which);
    int records = 0;
    // Events are written into one piece that goes to the sink when it is large enough.
    QByteArray piece;
    const auto write = [&](qint64 identity, const QVariantList& values) {
        if (records++ == 0)
            piece += start;
        if (calendar)
            writer.appendEvent(piece, identity, values);
        else
            piece += exportCsvLine(which, values);
        if (piece.size() >= kPieceBytes) {
            sink(piece);
            piece.truncate(0);
        }
    };
    if (database.backend() == jet::Database::Backend::Server) {
        // A server's rows come from its one statement as the record set reads them.
        for (const ExportRecord& record : readRecords(database, statement))
            write(record.identity, record.values);
    } else {
        // The row's identity first, then every column: "Select rowid, * from ...".
        const QString withIdentity = QStringLiteral("Select ") + database.rowIdentity() +
                                     QStringLiteral(", ") + statement.mid(7);
        QVariantList values;
        jet::readRowsAhead(database, withIdentity, [&](std::vector<QVariant>& row) {
            values.resize(qsizetype(row.size()) - 1);
            std::move(row.begin() + 1, row.end(), values.begin());
            write(row.front().toLongLong(), values);
            return true;
        });
    }
    if (records > 0)
        sink(piece + (calendar ? writer.end() : QByteArray()));
    return records;
}

} // namespace exports
