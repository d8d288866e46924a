#include "platform/jet/Field.h"

#include "platform/jet/Recordset.h"

namespace jet {

QVariant Field::Value() const
{
    return m_recordset->fieldValue(m_ordinal);
}

void Field::setValue(const QVariant& value)
{
    m_recordset->setFieldValue(m_ordinal, value);
}

QString Field::Name() const
{
    return m_recordset->fieldName(m_ordinal);
}

} // namespace jet
