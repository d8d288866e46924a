#include "export/ExportRecords.h"

#include <QStringList>

#include "data/DayName.h"

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
    // No register is asked for: only each row's identity and columns go on.
    data::forEachRecord(database, data::Register::Local, statement,
                        [&](data::Record& read) { record(read.key, read.values); });
}

} // namespace exports
