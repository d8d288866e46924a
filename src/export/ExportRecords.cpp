#include "export/ExportRecords.h"

#include <algorithm>
#include <vector>

#include <QStringList>

#include "data/DayName.h"
#include "platform/jet/Database.h"
#include "platform/jet/RowsAhead.h"

namespace exports {

QString exportStatement(data::Register which, const std::optional<QDate>& from,
                        const std::optional<QDate>& to)
{
    QStringList bounds;
    QString order;
    if (which == data::Register::Tour) {
        if (from)
            bounds << QStringLiteral("travel_date_to>=") + data::dateValue(*from);
        if (to)
            bounds << QStringLiteral("travel_date_from<=") + data::dateValue(*to);
        order = QStringLiteral(" order by travel_date_from, travel_time_from, sl_no");
    } else {
        if (from)
            bounds << QStringLiteral("tarna_date>=") + data::dateValue(*from);
        if (to)
            bounds << QStringLiteral("tarna_date<=") + data::dateValue(*to);
        order = QStringLiteral(" order by tarna_date, tarna_time, sl_no");
    }
    QString statement = QStringLiteral("Select * from ") + data::tableName(which);
    if (!bounds.isEmpty())
        statement += QStringLiteral(" where ") + bounds.join(QStringLiteral(" and "));
    return statement + order;
}

void forEachRecord(jet::Database& database, const QString& statement,
                   const std::function<void(qint64 identity, QVariantList& values)>& record)
{
    // The row's identity first, then every column: "Select rowid, * from ...".
    const QString withIdentity = QStringLiteral("Select ") + database.rowIdentity() +
                                 QStringLiteral(", ") + statement.mid(7);
    QVariantList values;
    jet::readRowsAhead(database, withIdentity, [&](std::vector<QVariant>& row) {
        values.resize(qsizetype(row.size()) - 1);
        std::move(row.begin() + 1, row.end(), values.begin());
        record(row.front().toLongLong(), values);
        return true;
    });
}

QList<ExportRecord> readRecords(jet::Database& database, const QString& statement)
{
    QList<ExportRecord> records;
    forEachRecord(database, statement, [&](qint64 identity, QVariantList& values) {
        records.append({identity, std::move(values)});
    });
    return records;
}

} // namespace exports
