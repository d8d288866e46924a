#include "platform/jet/PgRecordset.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <unordered_map>
#include <vector>

#include <libpq-fe.h>

#include <QRegularExpression>
#include <QStringList>

#include "platform/jet/ColumnValue.h"
#include "platform/jet/JetError.h"
#include "platform/jet/PgDatabase.h"
#include "platform/jet/QueryText.h"
#include "platform/jet/ServerStatement.h"

namespace jet {

namespace {

using Key = qint64;
// A row deleted through this set keeps its slot, so positions stay valid.
constexpr Key kGone = std::numeric_limits<Key>::min();
constexpr qsizetype kBeforeFirst = -1;
constexpr qsizetype kAfterLast = std::numeric_limits<qsizetype>::max();
constexpr int kMaxWritableColumns = 64;

// Type numbers of the server's built-in types.
enum : Oid {
    kBool = 16,
    kName = 19,
    kInt8 = 20,
    kInt2 = 21,
    kInt4 = 23,
    kText = 25,
    kFloat4 = 700,
    kFloat8 = 701,
    kUnknown = 705,
    kBpchar = 1042,
    kVarchar = 1043,
    kDate = 1082,
    kTime = 1083,
    kNumeric = 1700,
};

enum class Pending { None, Adding, Editing };

struct Column {
    QString name;
    ColumnKind kind;
    Oid type;
};

using Row = std::vector<QVariant>;

[[noreturn]] void noCurrentRecord()
{
    throw JetError(errors::kNoCurrentRecord, QStringLiteral("No current record."));
}

[[noreturn]] void recordDeleted()
{
    throw JetError(errors::kRecordDeleted,
                   QStringLiteral("Record is deleted: the current record no longer exists."));
}

ColumnKind kindOf(Oid type)
{
    switch (type) {
    case kInt2:
    case kInt4:
    case kInt8: return ColumnKind::Integer;
    case kDate: return ColumnKind::Date;
    case kTime: return ColumnKind::Time;
    case kText:
    case kVarchar:
    case kBpchar:
    case kName:
    case kUnknown: return ColumnKind::Text;
    default: return ColumnKind::Other;
    }
}

// A cell of the answer in its stored form; the typing is the file engine's own.
StoredValue storedCell(const PGresult* result, int row, int column, Oid type)
{
    StoredValue value;
    if (PQgetisnull(result, row, column))
        return value;
    const char* text = PQgetvalue(result, row, column);
    switch (type) {
    case kInt2:
    case kInt4:
    case kInt8:
        value.type = StoredValue::Type::Integer;
        value.integer = std::strtoll(text, nullptr, 10);
        break;
    case kBool:
        value.type = StoredValue::Type::Integer;
        value.integer = text[0] == 't' ? 1 : 0;
        break;
    case kFloat4:
    case kFloat8:
    case kNumeric:
        value.type = StoredValue::Type::Real;
        value.real = std::strtod(text, nullptr);
        break;
    default:
        value.type = StoredValue::Type::Text;
        value.utf8 = QByteArray(text, PQgetlength(result, row, column));
        break;
    }
    return value;
}

std::optional<QByteArray> parameter(const StoredValue& value)
{
    switch (value.type) {
    case StoredValue::Type::Null: return std::nullopt;
    case StoredValue::Type::Integer: return QByteArray::number(qint64(value.integer));
    case StoredValue::Type::Real: return QByteArray::number(value.real, 'g', 17);
    case StoredValue::Type::Text: return value.utf8;
    }
    return std::nullopt;
}

} // namespace

struct PgRecordset::Impl {
    PgDatabase* db = nullptr;
    QString sql;
    QString table;  // empty for a read-only set
    QString select; // the server's text of the query, like terms taken out
    std::vector<LikeTerm> likes;
    std::vector<Column> columns;
    int identity = -1; // the identity's column in the server's answer
    std::uint64_t textColumns = 0;

    // Keys in the set's order: row identities for a dynaset, indices into `rows` otherwise.
    std::vector<Key> keys;
    std::vector<Row> rows;
    std::unordered_map<Key, Row> byKey; // a dynaset's rows as last read
    std::uint64_t stamp = 0;            // the connection's change stamp they were read at
    qsizetype live = 0;
    qsizetype firstLiveHint = 0;
    qsizetype lastLiveHint = -1;
    qsizetype current = kBeforeFirst;
    bool noMatch = false;

    Pending pending = Pending::None;
    std::vector<StoredValue> buffer;
    std::uint64_t dirty = 0;
    std::unordered_map<Key, qsizetype> positions; // identity -> slot, built by the first find

    bool updatable() const { return !table.isEmpty(); }
    qsizetype size() const { return qsizetype(keys.size()); }
    bool onRow() const { return live > 0 && current >= 0 && current < size(); }
    QString readContext() const
    {
        return QStringLiteral("Could not read the rows of \"%1\"").arg(sql);
    }

    void open(RecordsetType type);
    void load();
    void readColumns(const PGresult* result);
    bool passesLikes(const PGresult* result, int row, const std::vector<int>& likeColumns) const;
    Row rowOf(const PGresult* result, int row) const;
    Key identityOf(const PGresult* result, int row) const;
    void refreshIfStale(bool poll);
    void noteOwnWrite();

    qsizetype nextLive(qsizetype from) const;
    qsizetype previousLive(qsizetype from) const;
    qsizetype firstLive();
    qsizetype lastLive();
    void moveTo(qsizetype slot);
    void discardPending();
    Key currentKey() const;
    const Row& currentRow();
    void checkUpdatable() const;

    void insertPending();
    void updatePending();
    std::optional<qsizetype> findInDynaset(const QString& criterion);
    std::optional<qsizetype> findInRows(const QString& criterion);
    void buildPositions();
};

void PgRecordset::Impl::readColumns(const PGresult* result)
{
    columns.clear();
    textColumns = 0;
    identity = -1;
    const int count = PQnfields(result);
    for (int i = 0; i < count; ++i) {
        const QString name = QString::fromUtf8(PQfname(result, i));
        // The identity stands last, after the documented columns, and is never a field.
        if (i == count - 1 && name == QLatin1String(kServerRowIdentity)) {
            identity = i;
            break;
        }
        const Oid type = PQftype(result, i);
        columns.push_back({name, kindOf(type), type});
        if (columns.back().kind == ColumnKind::Text && i < kMaxWritableColumns)
            textColumns |= std::uint64_t(1) << i;
    }
}

bool PgRecordset::Impl::passesLikes(const PGresult* result, int row,
                                    const std::vector<int>& likeColumns) const
{
    for (size_t i = 0; i < likes.size(); ++i) {
        const int column = likeColumns[i];
        if (PQgetisnull(result, row, column))
            return false;
        const QByteArray value(PQgetvalue(result, row, column), PQgetlength(result, row, column));
        const QString text = kindOf(PQftype(result, column)) == ColumnKind::Text
                                 ? comparableStoredText(value)
                                 : QString::fromUtf8(value);
        if (!likes[i].pattern.matches(text))
            return false;
    }
    return true;
}

Row PgRecordset::Impl::rowOf(const PGresult* result, int row) const
{
    Row out;
    out.reserve(columns.size());
    for (size_t i = 0; i < columns.size(); ++i)
        out.push_back(
            typedValue(columns[i].kind, storedCell(result, row, int(i), columns[i].type)));
    return out;
}

Key PgRecordset::Impl::identityOf(const PGresult* result, int row) const
{
    return std::strtoll(PQgetvalue(result, row, identity), nullptr, 10);
}

void PgRecordset::Impl::open(RecordsetType type)
{
    // Only a query is run for a record set: an action query would change the diary.
    static const QRegularExpression reading(QStringLiteral("^\\s*select\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (!reading.match(sql).hasMatch())
        throw JetError(errors::kInvalidOperation,
                       QStringLiteral("Invalid operation: \"%1\" returns no rows to open as a "
                                      "record set; run it with Execute.")
                           .arg(sql));
    const auto query = parseSingleTableQuery(sql);
    const bool keyed = query && db->hasRowIdentity(query->table);
    QString text = sql;
    if (query) {
        text = QStringLiteral("SELECT * FROM ") + quoted(query->table) + QLatin1Char(' ') +
               query->rest;
    }
    // Ties in the query's order (and a query without one) keep the order rows were added in.
    ServerStatement statement = serverStatement(
        text, true, [this](const QString& name) { return db->hasRowIdentity(name); });
    select = statement.sql;
    likes = std::move(statement.likes);
    if (keyed && !hasOrderBy(select))
        select += QStringLiteral(" ORDER BY ") + QString::fromLatin1(kServerRowIdentity);
    // A table without an identity column cannot be written through.
    if (keyed && type != RecordsetType::Snapshot)
        table = query->table;
    load();
    if (columns.size() > size_t(kMaxWritableColumns) && updatable()) {
        table.clear();
        load();
    }
}

// One query for every row of the set.
void PgRecordset::Impl::load()
{
    stamp = db->changeStamp(true);
    const PgResult result = db->run(select, readContext());
    if (PQnfields(result.get()) == 0)
        throw JetError(errors::kInvalidOperation,
                       QStringLiteral("Invalid operation: \"%1\" returns no rows to open as a "
                                      "record set; run it with Execute.")
                           .arg(sql));
    readColumns(result.get());
    std::vector<int> likeColumns;
    for (const LikeTerm& like : likes) {
        const int column = PQfnumber(result.get(), quoted(like.column).toUtf8().constData());
        if (column < 0)
            throw JetError(errors::kSyntaxError,
                           QStringLiteral("The like in \"%1\" names the column %2, which the "
                                          "query does not return.")
                               .arg(sql, like.column));
        likeColumns.push_back(column);
    }
    keys.clear();
    rows.clear();
    byKey.clear();
    positions.clear();
    const int count = PQntuples(result.get());
    const bool dynaset = updatable() && identity >= 0;
    for (int row = 0; row < count; ++row) {
        if (!passesLikes(result.get(), row, likeColumns))
            continue;
        if (dynaset) {
            const Key key = identityOf(result.get(), row);
            keys.push_back(key);
            byKey.emplace(key, rowOf(result.get(), row));
        } else {
            keys.push_back(Key(rows.size()));
            rows.push_back(rowOf(result.get(), row));
        }
    }
    live = size();
    firstLiveHint = 0;
    lastLiveHint = size() - 1;
}

// Reads the set's rows again, in one query, when this connection wrote or another desk's
// change was noticed; rows deleted meanwhile are gone from it.
void PgRecordset::Impl::refreshIfStale(bool poll)
{
    if (!updatable() || stamp == db->changeStamp(poll))
        return;
    stamp = db->changeStamp(false);
    QByteArray ids = "{";
    for (const Key key : keys) {
        if (key == kGone)
            continue;
        if (ids.size() > 1)
            ids += ',';
        ids += QByteArray::number(key);
    }
    ids += '}';
    const PgResult result =
        db->run(QStringLiteral("SELECT * FROM %1 WHERE %2 = ANY($1::bigint[])")
                    .arg(quoted(table), QString::fromLatin1(kServerRowIdentity)),
                readContext(), {ids});
    byKey.clear();
    const int count = PQntuples(result.get());
    for (int row = 0; row < count; ++row)
        byKey.emplace(identityOf(result.get(), row), rowOf(result.get(), row));
}

void PgRecordset::Impl::noteOwnWrite()
{
    const bool fresh = stamp == db->changeStamp(false);
    db->noteWrite();
    if (fresh)
        stamp = db->changeStamp(false);
}

qsizetype PgRecordset::Impl::nextLive(qsizetype from) const
{
    qsizetype slot = from + 1;
    while (slot < size() && keys[size_t(slot)] == kGone)
        ++slot;
    return slot < size() ? slot : kAfterLast;
}

qsizetype PgRecordset::Impl::previousLive(qsizetype from) const
{
    qsizetype slot = std::min(from, size()) - 1;
    while (slot >= 0 && keys[size_t(slot)] == kGone)
        --slot;
    return slot;
}

qsizetype PgRecordset::Impl::firstLive()
{
    while (firstLiveHint < size() && keys[size_t(firstLiveHint)] == kGone)
        ++firstLiveHint;
    return firstLiveHint;
}

qsizetype PgRecordset::Impl::lastLive()
{
    while (lastLiveHint >= 0 && keys[size_t(lastLiveHint)] == kGone)
        --lastLiveHint;
    return lastLiveHint;
}

void PgRecordset::Impl::moveTo(qsizetype slot)
{
    discardPending();
    current = slot;
    refreshIfStale(true);
}

void PgRecordset::Impl::discardPending()
{
    pending = Pending::None;
    dirty = 0;
}

Key PgRecordset::Impl::currentKey() const
{
    if (!onRow())
        noCurrentRecord();
    const Key key = keys[size_t(current)];
    if (key == kGone)
        recordDeleted();
    return key;
}

const Row& PgRecordset::Impl::currentRow()
{
    const Key key = currentKey();
    if (!updatable())
        return rows[size_t(key)];
    refreshIfStale(false);
    const auto it = byKey.find(key);
    if (it == byKey.end())
        recordDeleted(); // another desk deleted it after this set was opened
    return it->second;
}

void PgRecordset::Impl::checkUpdatable() const
{
    if (!updatable())
        throw JetError(errors::kNotUpdatable,
                       QStringLiteral("Database or object is read-only: the rows of \"%1\" "
                                      "cannot be changed through this record set.")
                           .arg(sql));
}

void PgRecordset::Impl::insertPending()
{
    // A text column nobody wrote to holds '', never null.
    const std::uint64_t mask = dirty | textColumns;
    QStringList names, placeholders;
    std::vector<std::optional<QByteArray>> values;
    for (size_t i = 0; i < columns.size(); ++i) {
        const std::uint64_t bit = std::uint64_t(1) << i;
        if (!(mask & bit))
            continue;
        names << quoted(columns[i].name);
        placeholders << QStringLiteral("$%1").arg(values.size() + 1);
        values.push_back((dirty & bit) ? parameter(buffer[i]) : QByteArray(""));
    }
    const QString insert =
        names.isEmpty()
            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES RETURNING *").arg(quoted(table))
            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING *")
                  .arg(quoted(table), names.join(QLatin1Char(',')),
                       placeholders.join(QLatin1Char(',')));
    const PgResult result = db->run(
        insert, QStringLiteral("Could not add the record to table '%1'").arg(table), values);
    noteOwnWrite();
    const Key key = identityOf(result.get(), 0);
    byKey.insert_or_assign(key, rowOf(result.get(), 0));
    keys.push_back(key);
    ++live;
    lastLiveHint = size() - 1;
    if (!positions.empty())
        positions.insert_or_assign(key, size() - 1);
}

void PgRecordset::Impl::updatePending()
{
    const Key key = currentKey();
    if (dirty == 0)
        return;
    QStringList assignments;
    std::vector<std::optional<QByteArray>> values;
    for (size_t i = 0; i < columns.size(); ++i) {
        if (dirty & (std::uint64_t(1) << i)) {
            values.push_back(parameter(buffer[i]));
            assignments
                << QStringLiteral("%1 = $%2").arg(quoted(columns[i].name)).arg(values.size());
        }
    }
    values.push_back(QByteArray::number(key));
    const QString update = QStringLiteral("UPDATE %1 SET %2 WHERE %3 = $%4 RETURNING *")
                               .arg(quoted(table), assignments.join(QLatin1Char(',')),
                                    QString::fromLatin1(kServerRowIdentity))
                               .arg(values.size());
    const PgResult result = db->run(
        update, QStringLiteral("Could not save the record in table '%1'").arg(table), values);
    noteOwnWrite();
    if (PQntuples(result.get()) == 0) {
        byKey.erase(key);
        recordDeleted();
    }
    byKey.insert_or_assign(key, rowOf(result.get(), 0));
}

void PgRecordset::Impl::buildPositions()
{
    positions.reserve(keys.size());
    for (size_t slot = 0; slot < keys.size(); ++slot) {
        if (keys[slot] != kGone)
            positions.emplace(keys[slot], qsizetype(slot));
    }
}

// "column = number" (the criterion the windows use) is looked up in the rows held; any other
// criterion goes to the server as a WHERE clause.
std::optional<qsizetype> PgRecordset::Impl::findInDynaset(const QString& criterion)
{
    static const QRegularExpression simple(
        QStringLiteral("^\\s*\\[?(\\w+)\\]?\\s*=\\s*([+-]?\\d+)\\s*$"));
    const QRegularExpressionMatch m = simple.match(criterion);
    if (positions.empty())
        buildPositions();
    if (m.hasMatch()) {
        const qint64 wanted = m.captured(2).toLongLong();
        if (m.captured(1).compare(QLatin1String(kServerRowIdentity), Qt::CaseInsensitive) == 0) {
            const auto it = positions.find(wanted);
            if (it != positions.end() && keys[size_t(it->second)] != kGone)
                return it->second;
            return std::nullopt;
        }
        int column = -1;
        for (size_t i = 0; i < columns.size(); ++i) {
            if (columns[i].name.compare(m.captured(1), Qt::CaseInsensitive) == 0)
                column = int(i);
        }
        if (column >= 0) {
            refreshIfStale(true);
            for (qsizetype slot = 0; slot < size(); ++slot) {
                const auto it = byKey.find(keys[size_t(slot)]);
                if (it == byKey.end())
                    continue;
                const QVariant& value = it->second[size_t(column)];
                if (!value.isNull() && value.toLongLong() == wanted && !value.toString().isEmpty())
                    return slot;
            }
            return std::nullopt;
        }
    }
    const ServerStatement statement =
        serverStatement(QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                            .arg(QString::fromLatin1(kServerRowIdentity), quoted(table), criterion),
                        false);
    const PgResult result =
        db->run(statement.sql, QStringLiteral("Could not search for \"%1\"").arg(criterion));
    std::optional<qsizetype> best;
    for (int row = 0; row < PQntuples(result.get()); ++row) {
        const auto it = positions.find(std::strtoll(PQgetvalue(result.get(), row, 0), nullptr, 10));
        if (it != positions.end() && keys[size_t(it->second)] != kGone &&
            (!best || it->second < *best))
            best = it->second;
    }
    return best;
}

// A read-only set holds its rows, so the windows' "column = value" is compared in memory.
std::optional<qsizetype> PgRecordset::Impl::findInRows(const QString& criterion)
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

PgRecordset::PgRecordset(std::shared_ptr<PgDatabase> database, const QString& sql,
                         RecordsetType type)
    : Recordset(database), d(std::make_unique<Impl>())
{
    d->db = database.get();
    d->sql = sql;
    static const QRegularExpression bareName(QStringLiteral("^\\s*\\w+\\s*$"));
    if (type == RecordsetType::Table && bareName.match(sql).hasMatch())
        d->sql = QStringLiteral("Select * from ") + sql.trimmed();
    d->open(type);
    d->current = d->live > 0 ? d->firstLive() : kBeforeFirst;
}

PgRecordset::~PgRecordset() = default;

void PgRecordset::reloadAfterRollback()
{
    if (!d->updatable())
        return;
    d->discardPending();
    const Key before = d->onRow() ? d->keys[size_t(d->current)] : kGone;
    try {
        d->load();
    } catch (const JetError&) {
        // Reading after a rollback failed: the set shows no rows rather than stale ones.
        d->keys.clear();
        d->byKey.clear();
        d->live = 0;
        d->lastLiveHint = -1;
    }
    const auto it = std::find(d->keys.begin(), d->keys.end(), before);
    d->current = it != d->keys.end() ? qsizetype(it - d->keys.begin())
                                     : (d->live > 0 ? d->firstLive() : kBeforeFirst);
}

qint64 PgRecordset::Bookmark() const
{
    return d->currentKey();
}

void PgRecordset::Requery()
{
    d->discardPending();
    d->load();
    d->firstLiveHint = 0;
    d->current = d->live > 0 ? d->firstLive() : kBeforeFirst;
}

int PgRecordset::RecordCount() const
{
    return int(d->live);
}

void PgRecordset::MoveFirst()
{
    if (d->live == 0)
        noCurrentRecord();
    d->moveTo(d->firstLive());
}

void PgRecordset::MoveLast()
{
    if (d->live == 0)
        noCurrentRecord();
    d->moveTo(d->lastLive());
}

void PgRecordset::MoveNext()
{
    if (d->current >= d->size() || (d->current < 0 && d->live == 0))
        noCurrentRecord();
    d->moveTo(d->current < 0 ? d->firstLive() : d->nextLive(d->current));
}

void PgRecordset::MovePrevious()
{
    if (d->current < 0 || (d->current >= d->size() && d->live == 0))
        noCurrentRecord();
    d->moveTo(d->previousLive(d->current));
}

bool PgRecordset::Eof() const
{
    return d->live == 0 || d->current >= d->size();
}

bool PgRecordset::Bof() const
{
    return d->live == 0 || d->current < 0;
}

int PgRecordset::FieldCount() const
{
    return int(d->columns.size());
}

QVariant PgRecordset::fieldValue(int ordinal)
{
    checkOrdinal(ordinal);
    const size_t i = size_t(ordinal);
    const ColumnKind kind = d->columns[i].kind;
    if (d->pending != Pending::None && (d->dirty & (std::uint64_t(1) << i)))
        return typedValue(kind, d->buffer[i]);
    if (d->pending == Pending::Adding)
        return emptyColumnValue(kind);
    return d->currentRow()[i];
}

void PgRecordset::setFieldValue(int ordinal, const QVariant& value)
{
    checkOrdinal(ordinal);
    if (d->pending == Pending::None)
        throw JetError(errors::kUpdateWithoutEdit,
                       QStringLiteral("Update or CancelUpdate without AddNew or Edit: call Edit "
                                      "or AddNew before writing field %1.")
                           .arg(d->columns[size_t(ordinal)].name));
    const size_t i = size_t(ordinal);
    d->buffer[i] = toStoredValue(d->columns[i].kind, value, d->columns[i].name);
    d->dirty |= std::uint64_t(1) << i;
}

QString PgRecordset::fieldName(int ordinal) const
{
    checkOrdinal(ordinal);
    return d->columns[size_t(ordinal)].name;
}

void PgRecordset::AddNew()
{
    d->checkUpdatable();
    d->discardPending();
    d->buffer.assign(d->columns.size(), StoredValue{});
    d->pending = Pending::Adding;
}

void PgRecordset::Edit()
{
    d->checkUpdatable();
    d->discardPending();
    d->currentKey();
    d->buffer.assign(d->columns.size(), StoredValue{});
    d->pending = Pending::Editing;
}

void PgRecordset::Update()
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

void PgRecordset::CancelUpdate()
{
    if (d->pending == Pending::None)
        throw JetError(errors::kUpdateWithoutEdit,
                       QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    d->discardPending();
}

void PgRecordset::Delete()
{
    d->checkUpdatable();
    d->discardPending();
    const Key key = d->currentKey();
    d->db->run(QStringLiteral("DELETE FROM %1 WHERE %2 = $1")
                   .arg(quoted(d->table), QString::fromLatin1(kServerRowIdentity)),
               QStringLiteral("Could not delete the record from table '%1'").arg(d->table),
               {QByteArray::number(key)});
    d->noteOwnWrite();
    d->keys[size_t(d->current)] = kGone;
    d->byKey.erase(key);
    --d->live;
}

void PgRecordset::FindFirst(const QString& criterion)
{
    const std::optional<qsizetype> slot =
        d->updatable() ? d->findInDynaset(criterion) : d->findInRows(criterion);
    d->noMatch = !slot.has_value();
    if (slot)
        d->moveTo(*slot);
}

bool PgRecordset::NoMatch() const
{
    return d->noMatch;
}

QString PgRecordset::tableName() const
{
    return d->table;
}

bool PgRecordset::isUpdatable() const
{
    return d->updatable();
}

bool PgRecordset::isAdding() const
{
    return d->pending == Pending::Adding;
}

bool PgRecordset::isEditing() const
{
    return d->pending == Pending::Editing;
}

} // namespace jet
