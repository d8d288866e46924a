#include "platform/jet/SqliteStatement.h"

#include <utility>

#include <sqlite3.h>

#include "platform/jet/JetError.h"
#include "platform/jet/SqliteError.h"

namespace jet {

namespace {

// Whether what follows a statement is nothing but blanks, semicolons and comments.
bool isOnlyBlanks(sqlite3* db, const QByteArray& rest)
{
    const char* at = rest.constData();
    const char* end = at + rest.size();
    while (at < end) {
        sqlite3_stmt* next = nullptr;
        const char* tail = nullptr;
        if (sqlite3_prepare_v2(db, at, int(end - at), &next, &tail) != SQLITE_OK || next) {
            sqlite3_finalize(next);
            return false;
        }
        if (tail == at)
            return true;
        at = tail;
    }
    return true;
}

} // namespace

SqliteStatement::SqliteStatement(sqlite3* db, const QString& sql, const QString& context)
    : m_db(db), m_sql(sql)
{
    const QByteArray utf8 = sql.toUtf8();
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v3(db, utf8.constData(), int(utf8.size()),
                                      SQLITE_PREPARE_PERSISTENT, &m_stmt, &tail);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        throwSqliteError(db, rc,
                         context.isEmpty()
                             ? QStringLiteral("The query \"%1\" cannot be run").arg(sql)
                             : context);
    }
    const qsizetype rest = utf8.size() - (tail - utf8.constData());
    if (!isOnlyBlanks(db, QByteArray(tail, rest))) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        throw JetError(errors::kSyntaxError,
                       QStringLiteral("The query \"%1\" holds more than one statement; only one "
                                      "is run at a time.")
                           .arg(sql));
    }
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_stmt);
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : m_db(std::exchange(other.m_db, nullptr)), m_stmt(std::exchange(other.m_stmt, nullptr)),
      m_sql(std::move(other.m_sql))
{
}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(m_stmt);
        m_db = std::exchange(other.m_db, nullptr);
        m_stmt = std::exchange(other.m_stmt, nullptr);
        m_sql = std::move(other.m_sql);
    }
    return *this;
}

bool SqliteStatement::step(const QString& context)
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(m_stmt);
    throwSqliteError(m_db, rc, context);
}

void SqliteStatement::reset()
{
    sqlite3_reset(m_stmt);
    // Bound texts may point into buffers that are about to go away.
    sqlite3_clear_bindings(m_stmt);
}

void SqliteStatement::bindInt64(int index, std::int64_t value)
{
    sqlite3_bind_int64(m_stmt, index, value);
}

void SqliteStatement::bindText(int index, const QByteArray& utf8)
{
    sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void SqliteStatement::bindNull(int index)
{
    sqlite3_bind_null(m_stmt, index);
}

void SqliteStatement::bindColumn(int index, const SqliteStatement& from, int column)
{
    sqlite3_bind_value(m_stmt, index, sqlite3_column_value(from.m_stmt, column));
}

QString SqliteStatement::columnText(int column) const
{
    // The text first: asking for it may convert the value, which sets the size.
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, column));
}

std::int64_t SqliteStatement::columnInt64(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

} // namespace jet
