#pragma once

#include <cstdint>
#include <functional>

#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include "data/Register.h"

namespace jet {
class Database;
}

namespace data {

// One record of a register: every column by its ordinal (sl_no first), as the engine types
// them, and the row it was read from. The lists, find, the exports and the kept deletions hold
// records so; the agenda and the clash rule read the few columns they need into a view of their
// own (engagements::Entry).
struct Record {
    Register which = Register::Local;
    // The row's identity in its table (Database::rowIdentity), which a renumbering of sl_no
    // leaves alone; 0 where it is not read (a list's rows, which open a record by its sl_no)
    // and for a record no row holds (a kept deletion).
    std::int64_t key = 0;
    QVariantList values;

    // The column at `ordinal`, or an empty value past the end (no copy: read for every cell).
    const QVariant& value(qsizetype ordinal) const;
    // sl_no when it was read.
    int serial() const { return value(0).toInt(); }
};

// Hands each row of `statement` (a "Select * from" of `which`'s table), in its order, to
// `record` with its row's identity. One statement on a file or a server: the rows are the
// register of one moment, whatever other windows or desks commit meanwhile. They are read a
// batch ahead on a second thread (jet::readRowsAhead); `record` may take the values.
void forEachRecord(jet::Database& database, Register which, const QString& statement,
                   const std::function<void(Record& record)>& record);

// The same rows, all of them.
QList<Record> readRecords(jet::Database& database, Register which, const QString& statement);

} // namespace data
