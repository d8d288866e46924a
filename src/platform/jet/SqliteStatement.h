#pragma once

#include <cstdint>

#include <QByteArray>
#include <QString>

struct sqlite3;
struct sqlite3_stmt;

namespace jet {

// A prepared statement owned for its whole life and reused: record sets prepare each
// statement once, so walking 32,767 rows never parses SQL again.
class SqliteStatement {
public:
    SqliteStatement() = default;
    // Throws JetError when SQLite cannot prepare `sql`: starting with `context` when one is
    // given, else naming the query.
    SqliteStatement(sqlite3* db, const QString& sql, const QString& context = {});
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool isValid() const { return m_stmt != nullptr; }
    sqlite3_stmt* get() const { return m_stmt; }
    const QString& sql() const { return m_sql; }

    // True for a row, false when done. Throws JetError with `context` on failure; the
    // statement is then reset so that it holds no read transaction open.
    bool step(const QString& context);
    // Ends the statement's read so other connections' commits become visible.
    void reset();

    void bindInt64(int index, std::int64_t value);
    void bindText(int index, const QByteArray& utf8);
    void bindNull(int index);
    // Binds column `column` of `from`'s current row as it is stored: its type and bytes kept.
    void bindColumn(int index, const SqliteStatement& from, int column);

    // Column `column` (from 0) of the current row: as text (UTF-8 decoded), or as an integer.
    QString columnText(int column) const;
    std::int64_t columnInt64(int column) const;

private:
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
    QString m_sql;
};

} // namespace jet
