#include "data/Record.h"

#include <algorithm>
#include <vector>

#include "platform/jet/Database.h"
#include "platform/jet/RowsAhead.h"

namespace data {

const QVariant& Record::value(qsizetype ordinal) const
{
    static const QVariant none;
    return ordinal >= 0 && ordinal < values.size() ? values[ordinal] : none;
}

void forEachRecord(jet::Database& database, Register which, const QString& statement,
                   const std::function<void(Record& record)>& record)
{
    // The row's identity first, then every column: "Select rowid, * from ...".
    const QString withIdentity = QStringLiteral("Select ") + database.rowIdentity() +
                                 QStringLiteral(", ") + statement.mid(7);
    Record read{which, 0, {}};
    jet::readRowsAhead(database, withIdentity, [&](std::vector<QVariant>& row) {
        read.key = row.front().toLongLong();
        read.values.resize(qsizetype(row.size()) - 1);
        std::move(row.begin() + 1, row.end(), read.values.begin());
        record(read);
        return true;
    });
}

QList<Record> readRecords(jet::Database& database, Register which, const QString& statement)
{
    QList<Record> records;
    forEachRecord(database, which, statement,
                  [&](Record& record) { records.append(std::move(record)); });
    return records;
}

} // namespace data
