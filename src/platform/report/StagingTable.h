#pragma once

#include <vector>

#include <QStringList>
#include <QVariant>

namespace jet {
class Database;
}

namespace report {

// The rows of a staging table as the report engine reads them: every column, in the order the
// rows were staged.
struct StagingTable {
    QStringList columns;
    std::vector<std::vector<QVariant>> rows;

    int column(const QString& name) const { return int(columns.indexOf(name)); }
};

StagingTable readStagingTable(jet::Database& database, const QString& table);

// The text a value shows in the report: dates in `dateFormat`, Varnel text decoded to Unicode
// Kannada, digits as Kannada digits unless `kannadaDigits` is false.
QString cellText(const QVariant& value, const QString& dateFormat, bool kannadaDigits);

} // namespace report
