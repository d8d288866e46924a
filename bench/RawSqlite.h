#pragma once

#include <stdexcept>
#include <string>
#include <vector>

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

struct Statement;

// What a lazy record set reads: the keys of `keysetSql` (one rowid per row, in order), then the
// rows at `positions` fetched by key with every column read. Returns the number of keys.
int readKeysetAndRows(sqlite3* db, const char* keysetSql, const char* table,
                      const std::vector<int>& positions);

// The committed pages folded into the diary file as the engine does after every commit.
inline void passiveCheckpoint(sqlite3* db)
{
    check(sqlite3_wal_checkpoint_v2(db, "main", SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr), db);
}

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

inline int readKeysetAndRows(sqlite3* db, const char* keysetSql, const char* table,
                             const std::vector<int>& positions)
{
    std::vector<sqlite3_int64> keys;
    {
        Statement keyset(db, keysetSql);
        while (sqlite3_step(keyset.stmt) == SQLITE_ROW)
            keys.push_back(sqlite3_column_int64(keyset.stmt, 0));
    }
    const std::string fetchSql = std::string("SELECT * FROM ") + table + " WHERE rowid = ?1";
    Statement fetch(db, fetchSql.c_str());
    for (const int position : positions) {
        if (position >= int(keys.size()))
            continue;
        sqlite3_bind_int64(fetch.stmt, 1, keys[size_t(position)]);
        if (sqlite3_step(fetch.stmt) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(fetch.stmt); ++c)
                sqlite3_column_text(fetch.stmt, c);
        }
        sqlite3_reset(fetch.stmt);
    }
    return int(keys.size());
}
