#pragma once

#include <QString>

struct pg_conn;
struct pg_result;

namespace jet {

// Turns a failed server statement into a JetError with a number the callers know (the same
// numbers the file's engine gives for the same kind of failure) and the server's own text.
[[noreturn]] void throwPgError(pg_result* result, pg_conn* conn, const QString& context);

} // namespace jet
