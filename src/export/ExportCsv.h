#pragma once

#include <QByteArray>
#include <QList>

#include "export/ExportRecords.h"

namespace exports {

// A register's records as CSV for a spreadsheet (RFC 4180, UTF-8, CRLF): a header line with the
// list grid's Kannada column captions, then every column of each record: ISO dates (YYYY-MM-DD),
// times HH:MM:SS, Varnel text decoded to Unicode Kannada with its line breaks kept.
QByteArray exportCsv(data::Register which, const QList<data::Record>& records);
// The same file line by line: the header, and one record's line.
QByteArray exportCsvHeader(data::Register which);
QByteArray exportCsvLine(data::Register which, const QVariantList& values);

} // namespace exports
