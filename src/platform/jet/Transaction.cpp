#include "platform/jet/Transaction.h"

#include "platform/jet/Database.h"

namespace jet {

Transaction::Transaction(Database& database) : m_database(database)
{
    m_database.BeginTrans();
}

Transaction::~Transaction()
{
    if (!m_open)
        return;
    try {
        m_database.Rollback();
    } catch (...) {
        // A destructor must not throw; the connection rolls back on close anyway.
    }
}

void Transaction::commit()
{
    m_database.CommitTrans();
    m_open = false;
}

} // namespace jet
