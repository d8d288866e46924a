#pragma once

#include <stdexcept>

#include <sqlite3.h>

#include <QString>

// The baselines' side of the benchmarks: plain sqlite3, set up as the engine sets up its own
// connections, so that a ratio measures only what our layers add.

inline void check(int rc, sqlite3* db)
{
    if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE)
        throw std::runtime_error(sqlite3_errmsg(db));
}

struct RawConnection {
    sqlite3* db = nullptr;
    explicit RawConnection(const QString& path)
    {
        check(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr), db);
        exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL;");
        sqlite3_busy_timeout(db, 5000);
    }
    ~RawConnection() { sqlite3_close_v2(db); }
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;
    void exec(const char* sql) { check(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), db); }
};

struct Statement {
    sqlite3_stmt* stmt = nullptr;
    Statement(sqlite3* db, const char* sql)
    {
        check(sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr), db);
    }
    ~Statement() { sqlite3_finalize(stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
};
