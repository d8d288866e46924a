#include "platform/jet/SqliteFile.h"

#include <utility>

#include <sqlite3.h>

#include "platform/jet/SqliteDatabase.h"
#include "platform/jet/SqliteError.h"
#include "platform/paths/NativePath.h"

namespace jet {

SqliteFile::SqliteFile(const QString& path, const QString& context)
{
    // A URI keeps '?' and '#' of a file name from being read as its parts.
    const QByteArray uri =
        "file:" + files::nativePath(files::absolutePath(path)).toPercentEncoding("/") +
        "?immutable=1";
    const int rc =
        sqlite3_open_v2(uri.constData(), &m_db,
                        SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        try {
            throwSqliteError(m_db, rc, context);
        } catch (...) {
            sqlite3_close_v2(m_db);
            throw;
        }
    }
    sqlite3_extended_result_codes(m_db, 1);
}

SqliteFile SqliteFile::inMemory(const QString& context)
{
    sqlite3* db = nullptr;
    const int rc =
        sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_MEMORY, nullptr);
    SqliteFile file(db);
    checkSqlite(db, rc, context);
    return file;
}

SqliteFile::~SqliteFile()
{
    sqlite3_close_v2(m_db);
}

SqliteFile::SqliteFile(SqliteFile&& other) noexcept : m_db(std::exchange(other.m_db, nullptr)) {}

void SqliteFile::execute(const QString& sql, const QString& context)
{
    checkSqlite(m_db, sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr),
                context);
}

SqliteStatement SqliteFile::statement(const QString& sql) const
{
    return SqliteStatement(m_db, sql);
}

QString SqliteFile::integrityCheck(const QString& context) const
{
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(m_db, "PRAGMA integrity_check(1)", -1, &stmt, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(stmt);
    // A schema SQLite cannot read fails the check itself; its message says what is wrong.
    QString verdict;
    if (rc == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        verdict = QString::fromUtf8(text, sqlite3_column_bytes(stmt, 0));
    } else {
        verdict = QString::fromUtf8(sqlite3_errmsg(m_db));
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_ROW && (rc & 0xff) != SQLITE_CORRUPT)
        throwSqliteError(m_db, rc, context);
    return verdict;
}

std::optional<std::int64_t> SqliteFile::countRows(const QString& table,
                                                  const QString& context) const
{
    const QByteArray sql = "SELECT count(*) FROM " + table.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(m_db, sql.constData(), -1, &stmt, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(stmt);
    const std::int64_t rows = rc == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : -1;
    sqlite3_finalize(stmt);
    if (rc == SQLITE_ROW)
        return rows;
    if ((rc & 0xff) == SQLITE_ERROR)
        return std::nullopt;
    throwSqliteError(m_db, rc, context);
}

SqliteStatement fileStatement(Database& file, const QString& sql, const QString& context)
{
    return SqliteStatement(sqliteHandle(file), sql, context);
}

} // namespace jet
