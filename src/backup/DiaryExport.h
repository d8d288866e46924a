#pragma once

#include <QByteArray>
#include <QString>

#include "backup/ExportRecords.h"

namespace jet {
class Database;
}

// What velmora-cli export and the search windows' grid menu write: the records of one
// statement as CSV or iCalendar.
namespace backup {

enum class ExportFormat { Csv, Calendar };

struct ExportResult {
    QByteArray bytes;
    int records = 0;
};

// Reads the rows of `statement` (a "Select * from" of `which`) and writes them in `format`.
// The calendar asks the diary for its id, which is made on the first calendar export.
ExportResult exportRecords(jet::Database& database, ExportRegister which, const QString& statement,
                           ExportFormat format);

// Throws JetError when `path` names the diary of `database` or its journal: an export must
// never replace the diary it was read from.
void refuseDiaryAsTarget(const jet::Database& database, const QString& path);

// Replaces `path` with `bytes` as a whole: the old file stays until the new one is complete.
// Throws JetError naming the file.
void writeExportFile(const QString& path, const QByteArray& bytes);

} // namespace backup
