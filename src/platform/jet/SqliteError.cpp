#include "platform/jet/SqliteError.h"

#include <sqlite3.h>

#include "platform/jet/JetError.h"

namespace jet {

namespace {

struct Mapped {
    int number;
    QString hint;
};

Mapped mapCode(int rc, const QString& message)
{
    switch (rc) {
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_PRIMARYKEY:
        return {errors::kDuplicateValue,
                QStringLiteral("the value would repeat one that must be unique")};
    case SQLITE_CONSTRAINT_NOTNULL:
        return {errors::kRequiredValue, QStringLiteral("a required value is missing")};
    default: break;
    }
    switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return {errors::kFileLocked,
                QStringLiteral("the database file is busy in another window or program; "
                               "try again in a moment")};
    case SQLITE_NOTADB:
        return {errors::kUnrecognizedFormat,
                QStringLiteral("the file is damaged or is not a database")};
    case SQLITE_CORRUPT: return {errors::kDamaged, QStringLiteral("the database file is damaged")};
    case SQLITE_CANTOPEN:
        return {errors::kFileNotFound, QStringLiteral("the file cannot be opened")};
    case SQLITE_FULL: return {errors::kDiskFull, QStringLiteral("the disk is full")};
    case SQLITE_IOERR:
        return {errors::kDiskIo, QStringLiteral("the disk could not be read or written")};
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return {errors::kReadOnly, QStringLiteral("the database file cannot be written")};
    case SQLITE_MISMATCH:
        return {errors::kTypeMismatch, QStringLiteral("a value has the wrong type")};
    case SQLITE_CONSTRAINT:
        return {errors::kEngineFailure, QStringLiteral("a rule of the table refused the value")};
    case SQLITE_ERROR:
        if (message.startsWith(QLatin1String("Data type mismatch")))
            return {errors::kTypeMismatch, {}};
        if (message.startsWith(QLatin1String("Invalid pattern")))
            return {errors::kInvalidPattern, {}};
        if (message.startsWith(QLatin1String("no such table")))
            return {errors::kTableNotFound, {}};
        if (message.contains(QLatin1String("syntax error")) ||
            message.startsWith(QLatin1String("unrecognized token")) ||
            message.startsWith(QLatin1String("incomplete input")) ||
            message.startsWith(QLatin1String("no such column")))
            return {errors::kSyntaxError, {}};
        return {errors::kEngineFailure, {}};
    default: return {errors::kEngineFailure, {}};
    }
}

} // namespace

void throwSqliteError(sqlite3* db, int rc, const QString& context)
{
    const QString message =
        db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    const Mapped mapped = mapCode(rc, message);
    QString text = context;
    if (!mapped.hint.isEmpty())
        text += QStringLiteral(": ") + mapped.hint;
    text += QStringLiteral(" (") + message + QLatin1Char(')');
    throw JetError(mapped.number, text);
}

void checkSqlite(sqlite3* db, int rc, const QString& context)
{
    if (rc != SQLITE_OK)
        throwSqliteError(db, rc, context);
}

} // namespace jet
