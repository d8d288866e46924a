#pragma once

#include <cstdint>
#include <optional>

#include <QString>

#include "platform/jet/SqliteStatement.h"

struct sqlite3;

namespace jet {

class Database;

// An SQLite file opened directly rather than as a diary: a backup being checked and restored
// from, read as an unchanging file (no lock and no journal files beside it, also in a folder
// this user cannot write), or an empty database in memory. The few jobs that read a file below
// the record sets do it through this and its statements.
class SqliteFile {
public:
    // Opens `path` for reading. Throws JetError starting with `context` when SQLite cannot.
    SqliteFile(const QString& path, const QString& context);
    // An empty database in memory.
    static SqliteFile inMemory(const QString& context);
    ~SqliteFile();
    SqliteFile(SqliteFile&& other) noexcept;
    SqliteFile& operator=(SqliteFile&&) = delete;
    SqliteFile(const SqliteFile&) = delete;
    SqliteFile& operator=(const SqliteFile&) = delete;

    // Runs statements that return no rows. Throws JetError starting with `context`.
    void execute(const QString& sql, const QString& context);
    // One statement over the file, stepped and read through SqliteStatement.
    SqliteStatement statement(const QString& sql) const;

    // SQLite's integrity check: "ok", or what it found; a file too damaged to be checked at all
    // gives SQLite's message instead. Other failures (busy, I/O) throw starting with `context`.
    QString integrityCheck(const QString& context) const;
    // The rows of `table`; nullopt when SQLite finds no such table in the file. Other failures
    // throw starting with `context`.
    std::optional<std::int64_t> countRows(const QString& table, const QString& context) const;

private:
    explicit SqliteFile(sqlite3* db) : m_db(db) {}

    sqlite3* m_db = nullptr;
};

// A statement on the connection of the diary file `file`, for the jobs that write a file
// below the record sets: filling a new diary, putting a backup's records back. It runs inside
// the connection's transactions like any statement of the engine. Throws JetError when SQLite
// cannot prepare it (starting with `context`, or naming the query when that is empty), and
// kInvalidOperation for a diary on a server.
SqliteStatement fileStatement(Database& file, const QString& sql, const QString& context);

} // namespace jet
