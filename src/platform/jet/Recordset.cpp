#include "platform/jet/Recordset.h"

#include "platform/jet/Database.h"
#include "platform/jet/JetError.h"

namespace jet {

Recordset::Recordset(std::shared_ptr<Database> database) : m_database(std::move(database))
{
    m_database->attach(this);
}

Recordset::~Recordset()
{
    m_database->detach(this);
}

Field Recordset::Fields(int ordinal)
{
    checkOrdinal(ordinal);
    return Field(this, ordinal);
}

void Recordset::checkOrdinal(int ordinal) const
{
    if (ordinal < 0 || ordinal >= FieldCount())
        throw JetError(errors::kItemNotFound,
                       QStringLiteral("Item not found in this collection: the record set has "
                                      "%1 fields, there is no field %2.")
                           .arg(FieldCount())
                           .arg(ordinal));
}

} // namespace jet
