#pragma once

#include <functional>

#include <optional>

#include <QDate>
#include <QList>
#include <QString>
#include <QVariantList>

#include "data/Register.h"

namespace jet {
class Database;
}

// The records an export writes, read through the engine's record sets.
namespace exports {

struct ExportRecord {
    qint64 identity = 0; // the row's identity in its table: kept when sl_no is renumbered
    QVariantList values; // every column by ordinal, as the engine types it
};

// The register's records in date order. Programmes between `from` and `to` (either open);
// tours whose journey touches that range.
QString exportStatement(data::Register which, const std::optional<QDate>& from,
                        const std::optional<QDate>& to);

// Hands each row of `statement` (a "Select * from" of one register), in its order, to `record`
// with its identity. One statement on a file or a server: the rows are the register of one
// moment, whatever other windows or desks commit meanwhile. They are read a batch ahead on a
// second thread (jet::readRowsAhead); `record` may take the values.
void forEachRecord(jet::Database& database, const QString& statement,
                   const std::function<void(qint64 identity, QVariantList& values)>& record);

// The same rows, all of them.
QList<ExportRecord> readRecords(jet::Database& database, const QString& statement);

} // namespace exports
