#include "platform/jet/Database.h"

#include <algorithm>

#include "platform/jet/Recordset.h"

namespace jet {

Database::~Database() = default;

void Database::ReadRows(const QString& sql, const RowReader& row)
{
    const auto rows = OpenRecordset(sql, RecordsetType::Snapshot);
    if (rows->RecordCount() == 0)
        return;
    std::vector<QVariant> values(size_t(rows->FieldCount()));
    for (rows->MoveFirst(); !rows->Eof(); rows->MoveNext()) {
        for (size_t i = 0; i < values.size(); ++i)
            values[i] = rows->Fields(int(i)).Value();
        if (!row(values))
            return;
    }
}

void Database::attach(Recordset* recordset)
{
    m_recordsets.push_back(recordset);
}

void Database::detach(Recordset* recordset)
{
    m_recordsets.erase(std::remove(m_recordsets.begin(), m_recordsets.end(), recordset),
                       m_recordsets.end());
}

void Database::reloadRecordsetsAfterRollback()
{
    for (Recordset* recordset : m_recordsets)
        recordset->reloadAfterRollback();
}

} // namespace jet
