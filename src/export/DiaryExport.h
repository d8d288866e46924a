#pragma once

#include <functional>

#include <QByteArray>
#include <QString>

#include "export/ExportRecords.h"

namespace jet {
class Database;
}

// What velmora-cli export and the search windows' grid menu write: the records of one
// statement as CSV or iCalendar.
namespace exports {

enum class ExportFormat { Csv, Calendar };

struct ExportResult {
    QByteArray bytes;
    int records = 0;
};

// Reads the rows of `statement` (a "Select * from" of `which`) and writes them in `format`.
// The calendar asks the diary for its id, which is made on the first calendar export.
ExportResult exportRecords(jet::Database& database, data::Register which, const QString& statement,
                           ExportFormat format);

// The same file written as the rows are read, in pieces handed to `sink`, the rows read as one
// statement (the diary as it stood at one moment). The first piece goes out with the first
// record: nothing reaches `sink` when `statement` has none. Returns the records written.
using ExportSink = std::function<void(const QByteArray& piece)>;
int streamRecords(jet::Database& database, data::Register which, const QString& statement,
                  ExportFormat format, const ExportSink& sink);

} // namespace exports
