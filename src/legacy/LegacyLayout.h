#pragma once

#include <QList>
#include <QString>

namespace legacy {

// What a column of a register holds, which decides how its Jet value is read and converted.
enum class ColumnKind { Serial, Date, Time, Text };

struct LegacyColumn {
    const char* name;
    ColumnKind kind;
};

// One of the three registers: its table name (the same in the Jet file and in the diary) and
// its columns in order.
struct LegacyRegister {
    const char* table;
    QList<LegacyColumn> columns;
};

// local, outstation, tour. The staging tables are not brought over: they start empty.
const QList<LegacyRegister>& legacyRegisters();

// The largest register the record editors can page through.
inline constexpr int kMaxRegisterRows = 32767;

} // namespace legacy
