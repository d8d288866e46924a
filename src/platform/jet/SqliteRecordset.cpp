#include "platform/jet/SqliteRecordset.h"

#include <sqlite3.h>

#include <QRegularExpression>

#include "platform/jet/JetError.h"
#include "platform/jet/QueryText.h"
#include "platform/jet/SqliteDatabase.h"

namespace jet {

SqliteRecordset::SqliteRecordset(std::shared_ptr<SqliteDatabase> database, const QString& sql,
                                 RecordsetType type)
    : KeysetRecordset(database, sql, type), m_db(database->handle())
{
    const auto query = parseSingleTableQuery(this->sql());
    if (query && type != RecordsetType::Snapshot)
        openDynaset(query->table, query->rest);
    else
        loadRows();
    startAtFirst();
}

SqliteRecordset::~SqliteRecordset() = default;

void SqliteRecordset::readColumns(sqlite3_stmt* stmt)
{
    const int count = sqlite3_column_count(stmt);
    std::vector<Column> columns;
    columns.reserve(size_t(count));
    for (int i = 0; i < count; ++i)
        columns.push_back({QString::fromUtf8(sqlite3_column_name(stmt, i)),
                           columnKindFromDeclaredType(sqlite3_column_decltype(stmt, i))});
    setColumns(std::move(columns));
}

void SqliteRecordset::openDynaset(const QString& table, const QString& rest)
{
    const QString from = QStringLiteral(" FROM ") + quoted(table);
    m_fetchStatement = SqliteStatement(m_db, QStringLiteral("SELECT *") + from +
                                                 QStringLiteral(" WHERE rowid = ?"));
    readColumns(m_fetchStatement.get());
    if (tooWideToWrite()) {
        loadRows();
        return;
    }
    // Ties in the query's order (and a query without one) keep the order rows were added in.
    static const QRegularExpression orderBy(QStringLiteral("\\border\\s+by\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    const bool ordered = orderBy.match(withoutLiterals(rest)).hasMatch();
    const QString keyset =
        QStringLiteral("SELECT rowid") + from + rest +
        (ordered ? QStringLiteral(", rowid") : QStringLiteral(" ORDER BY rowid"));
    m_keysetStatement = SqliteStatement(m_db, keyset);
    m_deleteStatement =
        SqliteStatement(m_db, QStringLiteral("DELETE") + from + QStringLiteral(" WHERE rowid = ?"));
    setTable(table);
    loadKeys();
}

void SqliteRecordset::load()
{
    if (isUpdatable())
        loadKeys();
    else
        loadRows();
}

void SqliteRecordset::loadKeys()
{
    clearRows();
    m_cachedKey = kGone;
    const QString context = readContext();
    while (m_keysetStatement.step(context))
        appendKey(sqlite3_column_int64(m_keysetStatement.get(), 0));
    m_keysetStatement.reset();
}

void SqliteRecordset::loadRows()
{
    SqliteStatement statement(m_db, sql());
    // Stepping an action query would run it; a record set only reads.
    if (!sqlite3_stmt_readonly(statement.get()) || sqlite3_column_count(statement.get()) == 0)
        returnsNoRows();
    readColumns(statement.get());
    clearRows();
    const QString context = readContext();
    const int count = int(columns().size());
    while (statement.step(context)) {
        Row row;
        row.reserve(size_t(count));
        for (int i = 0; i < count; ++i)
            row.push_back(readColumnValue(statement.get(), i, columns()[size_t(i)].kind));
        appendRow(std::move(row));
    }
    statement.reset();
}

const KeysetRecordset::Row& SqliteRecordset::readRow(Key key)
{
    if (m_cachedKey == key)
        return m_cachedRow;
    m_fetchStatement.bindInt64(1, key);
    if (!m_fetchStatement.step(
            QStringLiteral("Could not read the current record of \"%1\"").arg(sql()))) {
        m_fetchStatement.reset();
        // Another window deleted it after this set was opened.
        recordDeleted();
    }
    const int count = int(columns().size());
    m_cachedRow.resize(size_t(count));
    for (int i = 0; i < count; ++i)
        m_cachedRow[size_t(i)] =
            readColumnValue(m_fetchStatement.get(), i, columns()[size_t(i)].kind);
    m_fetchStatement.reset();
    m_cachedKey = key;
    return m_cachedRow;
}

// Parameters are numbered by column, so one statement per mask binds the same way.
QString SqliteRecordset::placeholder(int column, int)
{
    return QStringLiteral("?%1").arg(column + 1);
}

SqliteStatement& SqliteRecordset::insertStatement(std::uint64_t mask)
{
    auto it = m_insertStatements.find(mask);
    if (it == m_insertStatements.end())
        it = m_insertStatements.emplace(mask, SqliteStatement(m_db, insertText(mask, placeholder)))
                 .first;
    return it->second;
}

SqliteStatement& SqliteRecordset::updateStatement(std::uint64_t mask)
{
    auto it = m_updateStatements.find(mask);
    if (it != m_updateStatements.end())
        return it->second;
    const QString update = QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?%3")
                               .arg(quoted(tableName()), assignmentsText(mask, placeholder))
                               .arg(kMaxWritableColumns + 1);
    return m_updateStatements.emplace(mask, SqliteStatement(m_db, update)).first->second;
}

KeysetRecordset::Key SqliteRecordset::insertRow(std::uint64_t mask,
                                                const std::vector<StoredValue>& values)
{
    SqliteStatement& statement = insertStatement(mask);
    for (size_t i = 0; i < columns().size(); ++i) {
        if (mask & (std::uint64_t(1) << i))
            bindStoredValue(statement.get(), int(i) + 1, values[i]);
    }
    statement.step(QStringLiteral("Could not add the record to table '%1'").arg(tableName()));
    statement.reset();
    return sqlite3_last_insert_rowid(m_db);
}

void SqliteRecordset::updateRow(Key key, std::uint64_t mask, const std::vector<StoredValue>& values)
{
    SqliteStatement& statement = updateStatement(mask);
    for (size_t i = 0; i < columns().size(); ++i) {
        if (mask & (std::uint64_t(1) << i))
            bindStoredValue(statement.get(), int(i) + 1, values[i]);
    }
    statement.bindInt64(kMaxWritableColumns + 1, key);
    statement.step(QStringLiteral("Could not save the record in table '%1'").arg(tableName()));
    statement.reset();
    if (m_cachedKey == key)
        m_cachedKey = kGone;
    if (sqlite3_changes(m_db) == 0)
        recordDeleted();
}

void SqliteRecordset::deleteRow(Key key)
{
    m_deleteStatement.bindInt64(1, key);
    m_deleteStatement.step(
        QStringLiteral("Could not delete the record from table '%1'").arg(tableName()));
    m_deleteStatement.reset();
    m_cachedKey = kGone;
}

// "column = number" (the criterion the windows use) runs as a prepared lookup on the table;
// any other criterion is handed to the engine as a WHERE clause.
std::optional<qsizetype> SqliteRecordset::findInDynaset(const QString& criterion)
{
    const std::optional<NumberCriterion> number = numberCriterion(criterion);
    const int column = number ? columnIndex(number->column) : -1;
    SqliteStatement adHoc;
    SqliteStatement* statement = nullptr;
    if (column >= 0) {
        auto it = m_findStatements.find(column);
        if (it == m_findStatements.end()) {
            const QString lookup =
                QStringLiteral("SELECT rowid FROM %1 WHERE %2 = ?")
                    .arg(quoted(tableName()), quoted(columns()[size_t(column)].name));
            it = m_findStatements.emplace(column, SqliteStatement(m_db, lookup)).first;
        }
        statement = &it->second;
        statement->bindInt64(1, number->value);
    } else {
        adHoc = SqliteStatement(
            m_db,
            QStringLiteral("SELECT rowid FROM %1 WHERE %2").arg(quoted(tableName()), criterion));
        statement = &adHoc;
    }
    const QString context = QStringLiteral("Could not search for \"%1\"").arg(criterion);
    std::vector<Key> found;
    while (statement->step(context))
        found.push_back(sqlite3_column_int64(statement->get(), 0));
    statement->reset();
    return earliestSlot(found);
}

} // namespace jet
