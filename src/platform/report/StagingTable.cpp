#include "platform/report/StagingTable.h"

#include <memory>

#include <QDate>

#include "platform/jet/Database.h"
#include "platform/jet/Recordset.h"
#include "platform/varnel/KannadaDigits.h"
#include "platform/varnel/VarnelCodec.h"

namespace report {

StagingTable readStagingTable(jet::Database& database, const QString& table)
{
    const std::unique_ptr<jet::Recordset> rs = database.OpenRecordset(
        QStringLiteral("Select * from ") + table, jet::RecordsetType::Snapshot);
    StagingTable out;
    const int count = rs->FieldCount();
    for (int i = 0; i < count; ++i)
        out.columns << rs->Fields(i).Name();
    out.rows.reserve(size_t(rs->RecordCount()));
    if (rs->RecordCount() > 0)
        rs->MoveFirst();
    for (; !rs->Eof(); rs->MoveNext()) {
        std::vector<QVariant> row;
        row.reserve(size_t(count));
        for (int i = 0; i < count; ++i)
            row.push_back(rs->Fields(i).Value());
        out.rows.push_back(std::move(row));
    }
    return out;
}

QString cellText(const QVariant& value, const QString& dateFormat, bool kannadaDigits)
{
    QString text;
    switch (value.typeId()) {
    case QMetaType::QDate: text = value.toDate().toString(dateFormat); break;
    case QMetaType::QByteArray: // text columns: Varnel bytes
        text = varnel::decode(value.toByteArray());
        break;
    default: text = value.toString(); break;
    }
    return kannadaDigits ? varnel::kannadaDigits(text) : varnel::asciiDigits(text);
}

} // namespace report
