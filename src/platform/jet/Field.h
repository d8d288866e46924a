#pragma once

#include <QString>
#include <QVariant>

namespace jet {

class Recordset;

// One column of a record set's current row (or of its pending AddNew/Edit buffer), as the
// callers address it: Fields(i).Value() and Fields(i).setValue(v).
class Field {
public:
    Field(Recordset* recordset, int ordinal) : m_recordset(recordset), m_ordinal(ordinal) {}

    QVariant Value() const;
    void setValue(const QVariant& value);
    QString Name() const;
    int ordinal() const { return m_ordinal; }

private:
    Recordset* m_recordset;
    int m_ordinal;
};

} // namespace jet
