#pragma once

#include <functional>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "search/SearchResultsModel.h"

// Search results as CSV (RFC 4180, UTF-8): the grid's Kannada headers, then one line per
// record with its sl_no first, ISO dates, "HH:MM" times and texts in Unicode.
namespace jet {
class Database;
}

namespace search {

QStringList csvHeader(data::Register which);
// A record's line: its columns by ordinal.
QStringList csvFields(data::Register which, const QVariantList& values);

// The whole file for the records whose columns are `rows`.
QByteArray searchCsv(data::Register which, const QList<QVariantList>& rows);

// The same file written as the rows of `statement` are read (one statement: the diary as it
// stood at one moment), in pieces handed to `sink`; the header goes out first. Returns the
// records written.
int streamSearchCsv(data::Register which, jet::Database& database, const QString& statement,
                    const std::function<void(const QByteArray& piece)>& sink);

} // namespace search
