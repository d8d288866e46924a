#pragma once

#include <QString>

#include "platform/jet/Database.h"

namespace jet {

// Database::ReadRows with the reading on a second thread, a few hundred rows ahead of `row`,
// which runs on the calling thread: reading the diary and what the caller makes of its rows
// (decoding, formatting, writing) overlap. Same rows, same single statement, same errors
// (rethrown here); false from `row` stops the reading. Until this returns the connection is the
// reading thread's alone: any other use of it throws (requireNotReadAhead).
void readRowsAhead(Database& database, const QString& sql, const Database::RowReader& row);

// Throws JetError (kInvalidOperation) when readRowsAhead is reading `database` and this is not
// its reading thread. One atomic load while no rows are read ahead anywhere, so every entry of
// a connection can afford it.
void requireNotReadAhead(const Database& database);

} // namespace jet
