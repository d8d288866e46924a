#include "platform/jet/SqliteRecordset.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <unordered_map>
#include <vector>

#include <sqlite3.h>

#include <QRegularExpression>
#include <QStringList>

#include "platform/jet/ColumnValue.h"
#include "platform/jet/SqliteDatabase.h"
#include "platform/jet/JetError.h"
#include "platform/jet/QueryText.h"
#include "platform/jet/SqliteStatement.h"

namespace jet {

namespace {

using Key = sqlite3_int64;
// A row deleted through this set keeps its slot, so positions stay valid and deleting every
// row one by one stays linear.
constexpr Key kGone = std::numeric_limits<Key>::min();
constexpr qsizetype kBeforeFirst = -1;
constexpr qsizetype kAfterLast = std::numeric_limits<qsizetype>::max();
constexpr int kMaxWritableColumns = 64;

enum class Pending { None, Adding, Editing };

struct Column {
    QString name;
    ColumnKind kind;
};

[[noreturn]] void noCurrentRecord()
{
    throw JetError(errors::kNoCurrentRecord, QStringLiteral("No current record."));
}

[[noreturn]] void recordDeleted()
{
    throw JetError(errors::kRecordDeleted,
                   QStringLiteral("Record is deleted: the current record no longer exists."));
}

} // namespace

struct SqliteRecordset::Impl {
    sqlite3* db = nullptr;
    QString sql;
    QString table; // empty for a read-only set
    std::vector<Column> columns;
    std::uint64_t textColumns = 0;

    // Keys in the set's order: rowids for a dynaset, indices into `rows` for a read-only set.
    std::vector<Key> keys;
    std::vector<std::vector<QVariant>> rows;
    qsizetype live = 0;
    qsizetype firstLiveHint = 0; // no live key before it
    qsizetype lastLiveHint = -1; // no live key after it
    qsizetype current = kBeforeFirst;
    bool noMatch = false;

    // The current row, read once when first asked for.
    Key cachedKey = kGone;
    std::vector<QVariant> cachedRow;

    Pending pending = Pending::None;
    std::vector<StoredValue> buffer;
    std::uint64_t dirty = 0;

    SqliteStatement keysetStatement;
    SqliteStatement fetchStatement;
    SqliteStatement deleteStatement;
    std::unordered_map<std::uint64_t, SqliteStatement> updateStatements;
    std::unordered_map<std::uint64_t, SqliteStatement> insertStatements;
    std::unordered_map<int, SqliteStatement> findStatements;
    std::unordered_map<Key, qsizetype> positions; // rowid -> slot, built by the first find

    bool updatable() const { return !table.isEmpty(); }
    qsizetype size() const { return qsizetype(keys.size()); }
    bool onRow() const { return live > 0 && current >= 0 && current < size(); }

    void openDynaset(const ParsedQuery& query);
    void openReadOnly();
    void loadKeys();
    void readColumns(sqlite3_stmt* stmt);

    qsizetype nextLive(qsizetype from) const;
    qsizetype previousLive(qsizetype from) const;
    qsizetype firstLive();
    qsizetype lastLive();
    void moveTo(qsizetype slot);
    void discardPending();

    Key currentKey() const;
    const std::vector<QVariant>& currentRow();
    void checkOrdinal(int ordinal) const;
    void checkUpdatable() const;

    SqliteStatement& insertStatement(std::uint64_t mask);
    SqliteStatement& updateStatement(std::uint64_t mask);
    void insertPending();
    void updatePending();

    std::optional<qsizetype> findInDynaset(const QString& criterion);
    std::optional<qsizetype> findInRows(const QString& criterion);
    void buildPositions();
};

void SqliteRecordset::Impl::readColumns(sqlite3_stmt* stmt)
{
    const int count = sqlite3_column_count(stmt);
    columns.clear();
    textColumns = 0;
    for (int i = 0; i < count; ++i) {
        const ColumnKind kind = columnKindFromDeclaredType(sqlite3_column_decltype(stmt, i));
        columns.push_back({QString::fromUtf8(sqlite3_column_name(stmt, i)), kind});
        if (kind == ColumnKind::Text && i < kMaxWritableColumns)
            textColumns |= std::uint64_t(1) << i;
    }
}

void SqliteRecordset::Impl::openDynaset(const ParsedQuery& query)
{
    table = query.table;
    const QString from = QStringLiteral(" FROM ") + quoted(table);
    fetchStatement =
        SqliteStatement(db, QStringLiteral("SELECT *") + from + QStringLiteral(" WHERE rowid = ?"));
    readColumns(fetchStatement.get());
    // Ties in the query's order (and a query without one) keep the order rows were added in.
    static const QRegularExpression orderBy(QStringLiteral("\\border\\s+by\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    const bool ordered = orderBy.match(withoutLiterals(query.rest)).hasMatch();
    const QString keyset =
        QStringLiteral("SELECT rowid") + from + query.rest +
        (ordered ? QStringLiteral(", rowid") : QStringLiteral(" ORDER BY rowid"));
    keysetStatement = SqliteStatement(db, keyset);
    deleteStatement =
        SqliteStatement(db, QStringLiteral("DELETE") + from + QStringLiteral(" WHERE rowid = ?"));
    if (columns.size() > size_t(kMaxWritableColumns))
        table.clear();
    loadKeys();
}

void SqliteRecordset::Impl::loadKeys()
{
    keys.clear();
    positions.clear();
    const QString context = QStringLiteral("Could not read the rows of \"%1\"").arg(sql);
    while (keysetStatement.step(context))
        keys.push_back(sqlite3_column_int64(keysetStatement.get(), 0));
    keysetStatement.reset();
    live = size();
    firstLiveHint = 0;
    lastLiveHint = size() - 1;
    cachedKey = kGone;
}

void SqliteRecordset::Impl::openReadOnly()
{
    SqliteStatement statement(db, sql);
    // Stepping an action query would run it; a record set only reads.
    if (!sqlite3_stmt_readonly(statement.get()) || sqlite3_column_count(statement.get()) == 0)
        throw JetError(errors::kInvalidOperation,
                       QStringLiteral("Invalid operation: \"%1\" returns no rows to open as a "
                                      "record set; run it with Execute.")
                           .arg(sql));
    readColumns(statement.get());
    const QString context = QStringLiteral("Could not read the rows of \"%1\"").arg(sql);
    const int count = int(columns.size());
    while (statement.step(context)) {
        std::vector<QVariant> row;
        row.reserve(size_t(count));
        for (int i = 0; i < count; ++i)
            row.push_back(readColumnValue(statement.get(), i, columns[size_t(i)].kind));
        keys.push_back(Key(rows.size()));
        rows.push_back(std::move(row));
    }
    statement.reset();
    live = size();
    lastLiveHint = size() - 1;
}

qsizetype SqliteRecordset::Impl::nextLive(qsizetype from) const
{
    qsizetype slot = from + 1;
    while (slot < size() && keys[size_t(slot)] == kGone)
        ++slot;
    return slot < size() ? slot : kAfterLast;
}

qsizetype SqliteRecordset::Impl::previousLive(qsizetype from) const
{
    qsizetype slot = std::min(from, size()) - 1;
    while (slot >= 0 && keys[size_t(slot)] == kGone)
        --slot;
    return slot;
}

qsizetype SqliteRecordset::Impl::firstLive()
{
    while (firstLiveHint < size() && keys[size_t(firstLiveHint)] == kGone)
        ++firstLiveHint;
    return firstLiveHint;
}

qsizetype SqliteRecordset::Impl::lastLive()
{
    while (lastLiveHint >= 0 && keys[size_t(lastLiveHint)] == kGone)
        --lastLiveHint;
    return lastLiveHint;
}

void SqliteRecordset::Impl::moveTo(qsizetype slot)
{
    discardPending();
    current = slot;
    cachedKey = kGone;
}

void SqliteRecordset::Impl::discardPending()
{
    pending = Pending::None;
    dirty = 0;
}

Key SqliteRecordset::Impl::currentKey() const
{
    if (!onRow())
        noCurrentRecord();
    const Key key = keys[size_t(current)];
    if (key == kGone)
        recordDeleted();
    return key;
}

const std::vector<QVariant>& SqliteRecordset::Impl::currentRow()
{
    const Key key = currentKey();
    if (!updatable())
        return rows[size_t(key)];
    if (cachedKey == key)
        return cachedRow;
    fetchStatement.bindInt64(1, key);
    if (!fetchStatement.step(
            QStringLiteral("Could not read the current record of \"%1\"").arg(sql))) {
        fetchStatement.reset();
        // Another window deleted it after this set was opened.
        recordDeleted();
    }
    const int count = int(columns.size());
    cachedRow.resize(size_t(count));
    for (int i = 0; i < count; ++i)
        cachedRow[size_t(i)] = readColumnValue(fetchStatement.get(), i, columns[size_t(i)].kind);
    fetchStatement.reset();
    cachedKey = key;
    return cachedRow;
}

void SqliteRecordset::Impl::checkOrdinal(int ordinal) const
{
    if (ordinal < 0 || ordinal >= int(columns.size()))
        throw JetError(errors::kItemNotFound,
                       QStringLiteral("Item not found in this collection: the record set has "
                                      "%1 fields, there is no field %2.")
                           .arg(columns.size())
                           .arg(ordinal));
}

void SqliteRecordset::Impl::checkUpdatable() const
{
    if (!updatable())
        throw JetError(errors::kNotUpdatable,
                       QStringLiteral("Database or object is read-only: the rows of \"%1\" "
                                      "cannot be changed through this record set.")
                           .arg(sql));
}

SqliteStatement& SqliteRecordset::Impl::insertStatement(std::uint64_t mask)
{
    auto it = insertStatements.find(mask);
    if (it != insertStatements.end())
        return it->second;
    QStringList names, parameters;
    for (size_t i = 0; i < columns.size(); ++i) {
        if (mask & (std::uint64_t(1) << i)) {
            names << quoted(columns[i].name);
            parameters << QStringLiteral("?%1").arg(i + 1);
        }
    }
    const QString sql = names.isEmpty()
                            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoted(table))
                            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(quoted(table), names.join(QLatin1Char(',')),
                                       parameters.join(QLatin1Char(',')));
    return insertStatements.emplace(mask, SqliteStatement(db, sql)).first->second;
}

SqliteStatement& SqliteRecordset::Impl::updateStatement(std::uint64_t mask)
{
    auto it = updateStatements.find(mask);
    if (it != updateStatements.end())
        return it->second;
    QStringList assignments;
    for (size_t i = 0; i < columns.size(); ++i) {
        if (mask & (std::uint64_t(1) << i))
            assignments << QStringLiteral("%1 = ?%2").arg(quoted(columns[i].name)).arg(i + 1);
    }
    const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?%3")
                            .arg(quoted(table), assignments.join(QLatin1Char(',')))
                            .arg(kMaxWritableColumns + 1);
    return updateStatements.emplace(mask, SqliteStatement(db, sql)).first->second;
}

void SqliteRecordset::Impl::insertPending()
{
    // A text column nobody wrote to holds '', never null.
    const std::uint64_t mask = dirty | textColumns;
    SqliteStatement& statement = insertStatement(mask);
    static const StoredValue emptyText{StoredValue::Type::Text, 0, 0, QByteArray("")};
    for (size_t i = 0; i < columns.size(); ++i) {
        const std::uint64_t bit = std::uint64_t(1) << i;
        if (mask & bit)
            bindStoredValue(statement.get(), int(i) + 1, (dirty & bit) ? buffer[i] : emptyText);
    }
    statement.step(QStringLiteral("Could not add the record to table '%1'").arg(table));
    statement.reset();
    const Key key = sqlite3_last_insert_rowid(db);
    keys.push_back(key);
    ++live;
    lastLiveHint = size() - 1;
    // SQLite hands out the rowid of a deleted last row again: the new slot must win.
    if (!positions.empty())
        positions.insert_or_assign(key, size() - 1);
}

void SqliteRecordset::Impl::updatePending()
{
    const Key key = currentKey();
    if (dirty == 0)
        return;
    SqliteStatement& statement = updateStatement(dirty);
    for (size_t i = 0; i < columns.size(); ++i) {
        if (dirty & (std::uint64_t(1) << i))
            bindStoredValue(statement.get(), int(i) + 1, buffer[i]);
    }
    statement.bindInt64(kMaxWritableColumns + 1, key);
    statement.step(QStringLiteral("Could not save the record in table '%1'").arg(table));
    statement.reset();
    if (cachedKey == key)
        cachedKey = kGone;
    if (sqlite3_changes(db) == 0)
        recordDeleted();
}

void SqliteRecordset::Impl::buildPositions()
{
    positions.reserve(keys.size());
    for (size_t slot = 0; slot < keys.size(); ++slot) {
        if (keys[slot] != kGone)
            positions.emplace(keys[slot], qsizetype(slot));
    }
}

// "column = number" (the criterion the windows use) runs as a prepared lookup on the table;
// any other criterion is handed to the engine as a WHERE clause.
std::optional<qsizetype> SqliteRecordset::Impl::findInDynaset(const QString& criterion)
{
    static const QRegularExpression simple(
        QStringLiteral("^\\s*\\[?(\\w+)\\]?\\s*=\\s*([+-]?\\d+)\\s*$"));
    const QString context = QStringLiteral("Could not search for \"%1\"").arg(criterion);
    const QRegularExpressionMatch m = simple.match(criterion);
    SqliteStatement adHoc;
    SqliteStatement* statement = nullptr;
    int column = -1;
    if (m.hasMatch()) {
        for (size_t i = 0; i < columns.size(); ++i) {
            if (columns[i].name.compare(m.captured(1), Qt::CaseInsensitive) == 0)
                column = int(i);
        }
    }
    if (column >= 0) {
        auto it = findStatements.find(column);
        if (it == findStatements.end()) {
            const QString lookup = QStringLiteral("SELECT rowid FROM %1 WHERE %2 = ?")
                                       .arg(quoted(table), quoted(columns[size_t(column)].name));
            it = findStatements.emplace(column, SqliteStatement(db, lookup)).first;
        }
        statement = &it->second;
        statement->bindInt64(1, m.captured(2).toLongLong());
    } else {
        adHoc = SqliteStatement(
            db, QStringLiteral("SELECT rowid FROM %1 WHERE %2").arg(quoted(table), criterion));
        statement = &adHoc;
    }
    if (positions.empty())
        buildPositions();
    std::optional<qsizetype> best;
    while (statement->step(context)) {
        const auto it = positions.find(sqlite3_column_int64(statement->get(), 0));
        if (it != positions.end() && keys[size_t(it->second)] != kGone &&
            (!best || it->second < *best))
            best = it->second;
    }
    statement->reset();
    return best;
}

// A read-only set holds its rows, so the windows' "column = value" is compared in memory.
std::optional<qsizetype> SqliteRecordset::Impl::findInRows(const QString& criterion)
{
    static const QRegularExpression simple(
        QStringLiteral("^\\s*\\[?(\\w+)\\]?\\s*=\\s*(?:'([^']*)'|([+-]?\\d+))\\s*$"));
    const QRegularExpressionMatch m = simple.match(criterion);
    int column = -1;
    for (size_t i = 0; m.hasMatch() && i < columns.size(); ++i) {
        if (columns[i].name.compare(m.captured(1), Qt::CaseInsensitive) == 0)
            column = int(i);
    }
    if (column < 0)
        throw JetError(errors::kSyntaxError,
                       QStringLiteral("The criterion \"%1\" cannot be used on this record set; "
                                      "write it as column=value.")
                           .arg(criterion));
    const bool numeric = m.capturedLength(3) > 0;
    for (qsizetype slot = 0; slot < size(); ++slot) {
        const QVariant& value = rows[size_t(keys[size_t(slot)])][size_t(column)];
        const bool equal = numeric ? (value.toLongLong() == m.captured(3).toLongLong() &&
                                      !value.toString().isEmpty())
                                   : value.toByteArray() == m.captured(2).toLatin1();
        if (equal)
            return slot;
    }
    return std::nullopt;
}

SqliteRecordset::SqliteRecordset(std::shared_ptr<SqliteDatabase> database, const QString& sql,
                                 RecordsetType type)
    : Recordset(database), d(std::make_unique<Impl>())
{
    d->db = database->handle();
    d->sql = sql;
    static const QRegularExpression bareName(QStringLiteral("^\\s*\\w+\\s*$"));
    if (type == RecordsetType::Table && bareName.match(sql).hasMatch())
        d->sql = QStringLiteral("Select * from ") + sql.trimmed();
    const auto query = parseSingleTableQuery(d->sql);
    if (query && type != RecordsetType::Snapshot)
        d->openDynaset(*query);
    else
        d->openReadOnly();
    d->current = d->live > 0 ? d->firstLive() : kBeforeFirst;
}

SqliteRecordset::~SqliteRecordset() = default;

void SqliteRecordset::reloadAfterRollback()
{
    if (!d->updatable())
        return;
    d->discardPending();
    const Key before = d->onRow() ? d->keys[size_t(d->current)] : kGone;
    try {
        d->loadKeys();
    } catch (const JetError&) {
        // Reading after a rollback failed: the set shows no rows rather than stale ones.
        d->keys.clear();
        d->live = 0;
        d->lastLiveHint = -1;
    }
    const auto it = std::find(d->keys.begin(), d->keys.end(), before);
    d->current = it != d->keys.end() ? qsizetype(it - d->keys.begin())
                                     : (d->live > 0 ? d->firstLive() : kBeforeFirst);
}

qint64 SqliteRecordset::Bookmark() const
{
    return d->currentKey();
}

void SqliteRecordset::Requery()
{
    d->discardPending();
    if (d->updatable()) {
        d->loadKeys();
    } else {
        d->keys.clear();
        d->rows.clear();
        d->openReadOnly();
    }
    d->firstLiveHint = 0;
    d->current = d->live > 0 ? d->firstLive() : kBeforeFirst;
}

int SqliteRecordset::RecordCount() const
{
    return int(d->live);
}

void SqliteRecordset::MoveFirst()
{
    if (d->live == 0)
        noCurrentRecord();
    d->moveTo(d->firstLive());
}

void SqliteRecordset::MoveLast()
{
    if (d->live == 0)
        noCurrentRecord();
    d->moveTo(d->lastLive());
}

void SqliteRecordset::MoveNext()
{
    // Stepping on from a row just deleted is fine, even when it was the last one.
    if (d->current >= d->size() || (d->current < 0 && d->live == 0))
        noCurrentRecord();
    d->moveTo(d->current < 0 ? d->firstLive() : d->nextLive(d->current));
}

void SqliteRecordset::MovePrevious()
{
    if (d->current < 0 || (d->current >= d->size() && d->live == 0))
        noCurrentRecord();
    d->moveTo(d->previousLive(d->current));
}

bool SqliteRecordset::Eof() const
{
    return d->live == 0 || d->current >= d->size();
}

bool SqliteRecordset::Bof() const
{
    return d->live == 0 || d->current < 0;
}

int SqliteRecordset::FieldCount() const
{
    return int(d->columns.size());
}

QVariant SqliteRecordset::fieldValue(int ordinal)
{
    d->checkOrdinal(ordinal);
    const size_t i = size_t(ordinal);
    const ColumnKind kind = d->columns[i].kind;
    if (d->pending != Pending::None && (d->dirty & (std::uint64_t(1) << i)))
        return typedValue(kind, d->buffer[i]);
    if (d->pending == Pending::Adding)
        return emptyColumnValue(kind);
    return d->currentRow()[i];
}

void SqliteRecordset::setFieldValue(int ordinal, const QVariant& value)
{
    d->checkOrdinal(ordinal);
    if (d->pending == Pending::None)
        throw JetError(errors::kUpdateWithoutEdit,
                       QStringLiteral("Update or CancelUpdate without AddNew or Edit: call Edit "
                                      "or AddNew before writing field %1.")
                           .arg(d->columns[size_t(ordinal)].name));
    const size_t i = size_t(ordinal);
    d->buffer[i] = toStoredValue(d->columns[i].kind, value, d->columns[i].name);
    d->dirty |= std::uint64_t(1) << i;
}

QString SqliteRecordset::fieldName(int ordinal) const
{
    d->checkOrdinal(ordinal);
    return d->columns[size_t(ordinal)].name;
}

void SqliteRecordset::AddNew()
{
    d->checkUpdatable();
    d->discardPending();
    d->buffer.assign(d->columns.size(), StoredValue{});
    d->pending = Pending::Adding;
}

void SqliteRecordset::Edit()
{
    d->checkUpdatable();
    d->discardPending();
    d->currentKey();
    d->buffer.assign(d->columns.size(), StoredValue{});
    d->pending = Pending::Editing;
}

void SqliteRecordset::Update()
{
    if (d->pending == Pending::None)
        throw JetError(errors::kUpdateWithoutEdit,
                       QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    // On failure the pending record stays, as it was, for the caller to fix or cancel.
    if (d->pending == Pending::Adding)
        d->insertPending();
    else
        d->updatePending();
    d->discardPending();
}

void SqliteRecordset::CancelUpdate()
{
    if (d->pending == Pending::None)
        throw JetError(errors::kUpdateWithoutEdit,
                       QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    d->discardPending();
}

void SqliteRecordset::Delete()
{
    d->checkUpdatable();
    d->discardPending();
    const Key key = d->currentKey();
    d->deleteStatement.bindInt64(1, key);
    d->deleteStatement.step(
        QStringLiteral("Could not delete the record from table '%1'").arg(d->table));
    d->deleteStatement.reset();
    d->keys[size_t(d->current)] = kGone;
    --d->live;
    d->cachedKey = kGone;
}

void SqliteRecordset::FindFirst(const QString& criterion)
{
    const std::optional<qsizetype> slot =
        d->updatable() ? d->findInDynaset(criterion) : d->findInRows(criterion);
    d->noMatch = !slot.has_value();
    if (slot)
        d->moveTo(*slot);
}

bool SqliteRecordset::NoMatch() const
{
    return d->noMatch;
}

QString SqliteRecordset::tableName() const
{
    return d->table;
}

bool SqliteRecordset::isUpdatable() const
{
    return d->updatable();
}

bool SqliteRecordset::isAdding() const
{
    return d->pending == Pending::Adding;
}

bool SqliteRecordset::isEditing() const
{
    return d->pending == Pending::Editing;
}

} // namespace jet
