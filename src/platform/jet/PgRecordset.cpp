#include "platform/jet/PgRecordset.h"

#include <cstdlib>

#include <libpq-fe.h>

#include <QRegularExpression>

#include "platform/jet/JetError.h"
#include "platform/jet/PgDatabase.h"
#include "platform/jet/QueryText.h"

namespace jet {

namespace {

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

PgRecordset::PgRecordset(std::shared_ptr<PgDatabase> database, const QString& sql,
                         RecordsetType type)
    : KeysetRecordset(database, sql, type), m_db(database.get())
{
    open(type);
    startAtFirst();
}

PgRecordset::~PgRecordset() = default;

void PgRecordset::readColumns(const PGresult* result)
{
    std::vector<Column> columns;
    m_types.clear();
    m_identity = -1;
    const int count = PQnfields(result);
    for (int i = 0; i < count; ++i) {
        const QString name = QString::fromUtf8(PQfname(result, i));
        // The identity stands last, after the documented columns, and is never a field.
        if (i == count - 1 && name == QLatin1String(kServerRowIdentity)) {
            m_identity = i;
            break;
        }
        const Oid type = PQftype(result, i);
        columns.push_back({name, kindOf(type)});
        m_types.push_back(type);
    }
    setColumns(std::move(columns));
}

bool PgRecordset::passesLikes(const PGresult* result, int row,
                              const std::vector<int>& likeColumns) const
{
    for (size_t i = 0; i < m_likes.size(); ++i) {
        const int column = likeColumns[i];
        if (PQgetisnull(result, row, column))
            return false;
        const QByteArray value(PQgetvalue(result, row, column), PQgetlength(result, row, column));
        const QString text = kindOf(PQftype(result, column)) == ColumnKind::Text
                                 ? comparableStoredText(value)
                                 : QString::fromUtf8(value);
        if (!m_likes[i].pattern.matches(text))
            return false;
    }
    return true;
}

KeysetRecordset::Row PgRecordset::rowOf(const PGresult* result, int row) const
{
    Row out;
    out.reserve(columns().size());
    for (size_t i = 0; i < columns().size(); ++i)
        out.push_back(typedValue(columns()[i].kind, storedCell(result, row, int(i), m_types[i])));
    return out;
}

KeysetRecordset::Key PgRecordset::identityOf(const PGresult* result, int row) const
{
    return std::strtoll(PQgetvalue(result, row, m_identity), nullptr, 10);
}

void PgRecordset::open(RecordsetType type)
{
    // Only a query is run for a record set: an action query would change the diary.
    static const QRegularExpression reading(QStringLiteral("^\\s*select\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (!reading.match(sql()).hasMatch())
        returnsNoRows();
    const auto query = parseSingleTableQuery(sql());
    const bool keyed = query && m_db->hasRowIdentity(query->table);
    QString text = sql();
    if (query) {
        text = QStringLiteral("SELECT * FROM ") + quoted(query->table) + QLatin1Char(' ') +
               query->rest;
    }
    // Ties in the query's order (and a query without one) keep the order rows were added in.
    ServerStatement statement = serverStatement(
        text, true, [this](const QString& name) { return m_db->hasRowIdentity(name); });
    m_select = statement.sql;
    m_likes = std::move(statement.likes);
    if (keyed && !hasOrderBy(m_select))
        m_select += QStringLiteral(" ORDER BY ") + QString::fromLatin1(kServerRowIdentity);
    // A table without an identity column cannot be written through.
    if (keyed && type != RecordsetType::Snapshot)
        setTable(query->table);
    load();
    if (tooWideToWrite() && isUpdatable()) {
        setTable(QString());
        load();
    }
}

// One query for every row of the set.
void PgRecordset::load()
{
    // The stamp is taken before the read and kept only once it succeeded: a failed read leaves
    // the set stale, to be read at its next move.
    const std::uint64_t stamp = m_db->changeStamp(true);
    const PgResult result = m_db->run(m_select, readContext());
    if (PQnfields(result.get()) == 0)
        returnsNoRows();
    readColumns(result.get());
    std::vector<int> likeColumns;
    for (const LikeTerm& like : m_likes) {
        const int column = PQfnumber(result.get(), quoted(like.column).toUtf8().constData());
        if (column < 0)
            throw JetError(errors::kSyntaxError,
                           QStringLiteral("The like in \"%1\" names the column %2, which the "
                                          "query does not return.")
                               .arg(sql(), like.column));
        likeColumns.push_back(column);
    }
    clearRows();
    const int count = PQntuples(result.get());
    const bool dynaset = isUpdatable() && m_identity >= 0;
    for (int row = 0; row < count; ++row) {
        if (!passesLikes(result.get(), row, likeColumns))
            continue;
        if (dynaset) {
            const Key key = identityOf(result.get(), row);
            appendKey(key);
            m_byKey.emplace(key, rowOf(result.get(), row));
        } else {
            appendRow(rowOf(result.get(), row));
        }
    }
    m_stamp = stamp;
}

void PgRecordset::clearRows()
{
    KeysetRecordset::clearRows();
    m_byKey.clear();
}

// Reads the set's rows again, in one query, when this connection wrote or another desk's
// change was noticed; rows deleted meanwhile are gone from it.
void PgRecordset::refreshIfStale(bool poll)
{
    if (!isUpdatable() || m_stamp == m_db->changeStamp(poll))
        return;
    const std::uint64_t stamp = m_db->changeStamp(false);
    QByteArray ids = "{";
    for (const Key key : keys()) {
        if (key == kGone)
            continue;
        if (ids.size() > 1)
            ids += ',';
        ids += QByteArray::number(key);
    }
    ids += '}';
    const PgResult result =
        m_db->run(QStringLiteral("SELECT * FROM %1 WHERE %2 = ANY($1::bigint[])")
                      .arg(quoted(tableName()), QString::fromLatin1(kServerRowIdentity)),
                  readContext(), {ids});
    m_byKey.clear();
    const int count = PQntuples(result.get());
    for (int row = 0; row < count; ++row)
        m_byKey.emplace(identityOf(result.get(), row), rowOf(result.get(), row));
    m_stamp = stamp;
}

void PgRecordset::noteOwnWrite()
{
    const bool fresh = m_stamp == m_db->changeStamp(false);
    m_db->noteWrite();
    if (fresh)
        m_stamp = m_db->changeStamp(false);
}

const KeysetRecordset::Row& PgRecordset::readRow(Key key)
{
    refreshIfStale(false);
    const auto it = m_byKey.find(key);
    if (it == m_byKey.end())
        recordDeleted(); // another desk deleted it after this set was opened
    return it->second;
}

// Parameters are numbered in the order they are written.
QString PgRecordset::placeholder(int, int n)
{
    return QStringLiteral("$%1").arg(n);
}

std::vector<std::optional<QByteArray>>
PgRecordset::parameters(std::uint64_t mask, const std::vector<StoredValue>& values) const
{
    std::vector<std::optional<QByteArray>> out;
    for (size_t i = 0; i < columns().size(); ++i) {
        if (mask & (std::uint64_t(1) << i))
            out.push_back(parameter(values[i]));
    }
    return out;
}

KeysetRecordset::Key PgRecordset::insertRow(std::uint64_t mask,
                                            const std::vector<StoredValue>& values)
{
    const PgResult result =
        m_db->run(insertText(mask, placeholder) + QStringLiteral(" RETURNING *"),
                  QStringLiteral("Could not add the record to table '%1'").arg(tableName()),
                  parameters(mask, values));
    noteOwnWrite();
    const Key key = identityOf(result.get(), 0);
    m_byKey.insert_or_assign(key, rowOf(result.get(), 0));
    return key;
}

void PgRecordset::updateRow(Key key, std::uint64_t mask, const std::vector<StoredValue>& values)
{
    std::vector<std::optional<QByteArray>> written = parameters(mask, values);
    written.push_back(QByteArray::number(key));
    const QString update = QStringLiteral("UPDATE %1 SET %2 WHERE %3 = $%4 RETURNING *")
                               .arg(quoted(tableName()), assignmentsText(mask, placeholder),
                                    QString::fromLatin1(kServerRowIdentity))
                               .arg(written.size());
    const PgResult result = m_db->run(
        update, QStringLiteral("Could not save the record in table '%1'").arg(tableName()),
        written);
    noteOwnWrite();
    if (PQntuples(result.get()) == 0) {
        m_byKey.erase(key);
        recordDeleted();
    }
    m_byKey.insert_or_assign(key, rowOf(result.get(), 0));
}

void PgRecordset::deleteRow(Key key)
{
    m_db->run(QStringLiteral("DELETE FROM %1 WHERE %2 = $1")
                  .arg(quoted(tableName()), QString::fromLatin1(kServerRowIdentity)),
              QStringLiteral("Could not delete the record from table '%1'").arg(tableName()),
              {QByteArray::number(key)});
    noteOwnWrite();
    m_byKey.erase(key);
}

// "column = number" (the criterion the windows use) is looked up in the rows held; any other
// criterion goes to the server as a WHERE clause.
std::optional<qsizetype> PgRecordset::findInDynaset(const QString& criterion)
{
    const std::optional<NumberCriterion> number = numberCriterion(criterion);
    if (number) {
        if (number->column.compare(QLatin1String(kServerRowIdentity), Qt::CaseInsensitive) == 0)
            return liveSlot(number->value);
        const int column = columnIndex(number->column);
        if (column >= 0) {
            refreshIfStale(true);
            for (qsizetype slot = 0; slot < size(); ++slot) {
                const auto it = m_byKey.find(keys()[size_t(slot)]);
                if (it == m_byKey.end())
                    continue;
                const QVariant& value = it->second[size_t(column)];
                if (!value.isNull() && value.toLongLong() == number->value &&
                    !value.toString().isEmpty())
                    return slot;
            }
            return std::nullopt;
        }
    }
    const ServerStatement statement = serverStatement(
        QStringLiteral("SELECT %1 FROM %2 WHERE %3")
            .arg(QString::fromLatin1(kServerRowIdentity), quoted(tableName()), criterion),
        false);
    const PgResult result =
        m_db->run(statement.sql, QStringLiteral("Could not search for \"%1\"").arg(criterion));
    std::vector<Key> found;
    for (int row = 0; row < PQntuples(result.get()); ++row)
        found.push_back(std::strtoll(PQgetvalue(result.get(), row, 0), nullptr, 10));
    return earliestSlot(found);
}

} // namespace jet
