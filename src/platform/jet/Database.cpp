#include "platform/jet/Database.h"

#include <algorithm>

#include "platform/jet/Recordset.h"

namespace jet {

Database::~Database() = default;

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
