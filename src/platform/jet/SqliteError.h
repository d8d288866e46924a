#pragma once

#include <QString>

struct sqlite3;

namespace jet {

// Turns an sqlite result code into a JetError with a number the callers know and a text a
// user can act on. `context` says what the engine was doing ("Could not save the record").
[[noreturn]] void throwSqliteError(sqlite3* db, int rc, const QString& context);

// Throws when rc is not SQLITE_OK.
void checkSqlite(sqlite3* db, int rc, const QString& context);

} // namespace jet
