#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// CSV as RFC 4180 writes it, for the lists and exports the diary hands to spreadsheets.
namespace data {

// A field quoted when it holds a comma, a quote or a line break; quotes doubled.
QString csvField(const QString& text);
// One line of fields, ended by CRLF.
QString csvLine(const QStringList& fields);
// The same line appended in UTF-8, for outputs written as they are made.
void appendCsvLine(QByteArray& utf8, const QStringList& fields);

} // namespace data
