#pragma once

#include <QString>

#include "platform/jet/Database.h"

namespace jet {

// Database::ReadRows with the reading on a second thread, a few hundred rows ahead of `row`,
// which runs on the calling thread: reading the diary and what the caller makes of its rows
// (decoding, formatting, writing) overlap. Same rows, same single statement, same errors
// (rethrown here); false from `row` stops the reading. The caller must leave `database` alone
// until this returns.
void readRowsAhead(Database& database, const QString& sql, const Database::RowReader& row);

} // namespace jet
