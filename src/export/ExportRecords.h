#pragma once

#include <functional>
#include <optional>

#include <QDate>
#include <QString>

#include "data/Record.h"

namespace jet {
class Database;
}

// The records an export writes: the statement that reads them (data::forEachRecord reads it).
namespace exports {

// The register's records in date order. Programmes between `from` and `to` (either open);
// tours whose journey touches that range.
QString exportStatement(data::Register which, const std::optional<QDate>& from,
                        const std::optional<QDate>& to);

// data::forEachRecord with each record's identity and columns apart, as the calendar publisher
// reads them.
void forEachRecord(jet::Database& database, const QString& statement,
                   const std::function<void(qint64 identity, QVariantList& values)>& record);

} // namespace exports
