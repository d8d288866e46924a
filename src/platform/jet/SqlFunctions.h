#pragma once

struct sqlite3;

namespace jet {

// Registers on a connection what the query texts call: datevalue(text) -> 'YYYY-MM-DD',
// timevalue(text) -> 'HH:MM:SS' and `like` with the Jet patterns on Varnel text.
void registerSqlFunctions(sqlite3* db);

} // namespace jet
