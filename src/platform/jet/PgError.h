#pragma once

#include <QString>

struct pg_conn;
struct pg_result;

namespace jet {

// Turns a failed server statement into a JetError with a number the callers know (the same
// numbers the file's engine gives for the same kind of failure) and the server's own text.
[[noreturn]] void throwPgError(pg_result* result, pg_conn* conn, const QString& context);

// Turns a connection to `connection` that could not be made into a JetError: a server that
// asks for a password none was given for says so (the unreachable server's number would send
// the desk looking for a network fault), anything else is the unreachable server. Passwords
// in the connection text are never shown.
[[noreturn]] void throwConnectError(pg_conn* conn, const QString& connection);

} // namespace jet
