#include "export/ExportRecords.h"

#include <QStringList>

#include "platform/jet/Database.h"
#include "platform/jet/Recordset.h"
#include "platform/jet/SqlLiteral.h"

namespace exports {

namespace {

QString dateValue(const QDate& date)
{
    return QStringLiteral("datevalue(%1)").arg(jet::SqlLiteral(date.toString(Qt::ISODate)));
}

} // namespace

QString tableName(ExportRegister which)
{
    switch (which) {
    case ExportRegister::Local: return QStringLiteral("local");
    case ExportRegister::Outstation: return QStringLiteral("outstation");
    case ExportRegister::Tour: return QStringLiteral("tour");
    }
    return {};
}

std::optional<ExportRegister> registerNamed(const QString& table)
{
    for (ExportRegister which :
         {ExportRegister::Local, ExportRegister::Outstation, ExportRegister::Tour}) {
        if (table == tableName(which))
            return which;
    }
    return std::nullopt;
}

QString exportStatement(ExportRegister which, const std::optional<QDate>& from,
                        const std::optional<QDate>& to)
{
    QStringList bounds;
    QString order;
    if (which == ExportRegister::Tour) {
        if (from)
            bounds << QStringLiteral("travel_date_to>=") + dateValue(*from);
        if (to)
            bounds << QStringLiteral("travel_date_from<=") + dateValue(*to);
        order = QStringLiteral(" order by travel_date_from, travel_time_from, sl_no");
    } else {
        if (from)
            bounds << QStringLiteral("tarna_date>=") + dateValue(*from);
        if (to)
            bounds << QStringLiteral("tarna_date<=") + dateValue(*to);
        order = QStringLiteral(" order by tarna_date, tarna_time, sl_no");
    }
    QString statement = QStringLiteral("Select * from ") + tableName(which);
    if (!bounds.isEmpty())
        statement += QStringLiteral(" where ") + bounds.join(QStringLiteral(" and "));
    return statement + order;
}

QList<ExportRecord> readRecords(jet::Database& database, const QString& statement)
{
    auto rs = database.OpenRecordset(statement, jet::RecordsetType::Dynaset);
    QList<ExportRecord> records;
    records.reserve(rs->RecordCount());
    if (rs->RecordCount() == 0)
        return records;
    const int columns = rs->FieldCount();
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
        ExportRecord record;
        record.identity = rs->Bookmark();
        record.values.reserve(columns);
        for (int i = 0; i < columns; ++i)
            record.values << rs->Fields(i).Value();
        records << record;
    }
    return records;
}

} // namespace exports
