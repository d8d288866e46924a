#include "platform/jet/KeysetRecordset.h"

#include <algorithm>

#include <QRegularExpression>
#include <QStringList>

#include "platform/jet/JetError.h"
#include "platform/jet/QueryText.h"

namespace jet {

KeysetRecordset::KeysetRecordset(std::shared_ptr<Database> database, const QString& sql,
                                 RecordsetType type)
    : Recordset(std::move(database)), m_sql(sql)
{
    static const QRegularExpression bareName(QStringLiteral("^\\s*\\w+\\s*$"));
    if (type == RecordsetType::Table && bareName.match(sql).hasMatch())
        m_sql = QStringLiteral("Select * from ") + sql.trimmed();
}

void KeysetRecordset::noCurrentRecord()
{
    throw JetError(errors::kNoCurrentRecord, QStringLiteral("No current record."));
}

void KeysetRecordset::recordDeleted()
{
    throw JetError(errors::kRecordDeleted,
                   QStringLiteral("Record is deleted: the current record no longer exists."));
}

void KeysetRecordset::returnsNoRows() const
{
    throw JetError(errors::kInvalidOperation,
                   QStringLiteral("Invalid operation: \"%1\" returns no rows to open as a "
                                  "record set; run it with Execute.")
                       .arg(m_sql));
}

QString KeysetRecordset::readContext() const
{
    return QStringLiteral("Could not read the rows of \"%1\"").arg(m_sql);
}

void KeysetRecordset::setColumns(std::vector<Column> columns)
{
    m_columns = std::move(columns);
    m_textColumns = 0;
    for (size_t i = 0; i < m_columns.size() && i < size_t(kMaxWritableColumns); ++i) {
        if (m_columns[i].kind == ColumnKind::Text)
            m_textColumns |= std::uint64_t(1) << i;
    }
}

int KeysetRecordset::columnIndex(const QString& name) const
{
    for (size_t i = m_columns.size(); i-- > 0;) {
        if (m_columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

void KeysetRecordset::clearRows()
{
    m_keys.clear();
    m_rows.clear();
    m_positions.clear();
    m_live = 0;
    m_firstLiveHint = 0;
    m_lastLiveHint = -1;
}

void KeysetRecordset::appendKey(Key key)
{
    m_keys.push_back(key);
    ++m_live;
    m_lastLiveHint = size() - 1;
}

void KeysetRecordset::appendRow(Row row)
{
    appendKey(Key(m_rows.size()));
    m_rows.push_back(std::move(row));
}

void KeysetRecordset::startAtFirst()
{
    m_current = m_live > 0 ? firstLive() : kBeforeFirst;
}

qsizetype KeysetRecordset::nextLive(qsizetype from) const
{
    qsizetype slot = from + 1;
    while (slot < size() && m_keys[size_t(slot)] == kGone)
        ++slot;
    return slot < size() ? slot : kAfterLast;
}

qsizetype KeysetRecordset::previousLive(qsizetype from) const
{
    qsizetype slot = std::min(from, size()) - 1;
    while (slot >= 0 && m_keys[size_t(slot)] == kGone)
        --slot;
    return slot;
}

qsizetype KeysetRecordset::firstLive()
{
    while (m_firstLiveHint < size() && m_keys[size_t(m_firstLiveHint)] == kGone)
        ++m_firstLiveHint;
    return m_firstLiveHint;
}

qsizetype KeysetRecordset::lastLive()
{
    while (m_lastLiveHint >= 0 && m_keys[size_t(m_lastLiveHint)] == kGone)
        --m_lastLiveHint;
    return m_lastLiveHint;
}

// A move the backend could not make ready (a server that could not be read) leaves the set
// where it was, a pending AddNew or Edit included.
void KeysetRecordset::moveTo(qsizetype slot)
{
    const qsizetype from = m_current;
    m_current = slot;
    try {
        afterMove();
    } catch (...) {
        m_current = from;
        throw;
    }
    discardPending();
}

void KeysetRecordset::discardPending()
{
    m_pending = Pending::None;
    m_dirty = 0;
}

KeysetRecordset::Key KeysetRecordset::currentKey() const
{
    if (!onRow())
        noCurrentRecord();
    const Key key = m_keys[size_t(m_current)];
    if (key == kGone)
        recordDeleted();
    return key;
}

const KeysetRecordset::Row& KeysetRecordset::currentRow()
{
    const Key key = currentKey();
    return isUpdatable() ? readRow(key) : m_rows[size_t(key)];
}

void KeysetRecordset::checkUpdatable() const
{
    if (!isUpdatable())
        throw JetError(errors::kNotUpdatable,
                       QStringLiteral("Database or object is read-only: the rows of \"%1\" "
                                      "cannot be changed through this record set.")
                           .arg(m_sql));
}

void KeysetRecordset::reloadAfterRollback()
{
    if (!isUpdatable())
        return;
    discardPending();
    const Key before = onRow() ? m_keys[size_t(m_current)] : kGone;
    try {
        load();
    } catch (const JetError&) {
        // Reading after a rollback failed: the set shows no rows rather than stale ones.
        clearRows();
    }
    const auto it = std::find(m_keys.begin(), m_keys.end(), before);
    if (it != m_keys.end())
        m_current = qsizetype(it - m_keys.begin());
    else
        startAtFirst();
}

void KeysetRecordset::Requery()
{
    discardPending();
    load();
    startAtFirst();
}

void KeysetRecordset::MoveFirst()
{
    if (m_live == 0)
        noCurrentRecord();
    moveTo(firstLive());
}

void KeysetRecordset::MoveLast()
{
    if (m_live == 0)
        noCurrentRecord();
    moveTo(lastLive());
}

void KeysetRecordset::MoveNext()
{
    // Stepping on from a row just deleted is fine, even when it was the last one.
    if (m_current >= size() || (m_current < 0 && m_live == 0))
        noCurrentRecord();
    moveTo(m_current < 0 ? firstLive() : nextLive(m_current));
}

void KeysetRecordset::MovePrevious()
{
    if (m_current < 0 || (m_current >= size() && m_live == 0))
        noCurrentRecord();
    moveTo(previousLive(m_current));
}

bool KeysetRecordset::Eof() const
{
    return m_live == 0 || m_current >= size();
}

bool KeysetRecordset::Bof() const
{
    return m_live == 0 || m_current < 0;
}

QVariant KeysetRecordset::fieldValue(int ordinal)
{
    checkOrdinal(ordinal);
    const size_t i = size_t(ordinal);
    const ColumnKind kind = m_columns[i].kind;
    if (m_pending != Pending::None && (m_dirty & (std::uint64_t(1) << i)))
        return typedValue(kind, m_buffer[i]);
    if (m_pending == Pending::Adding)
        return emptyColumnValue(kind);
    return currentRow()[i];
}

void KeysetRecordset::setFieldValue(int ordinal, const QVariant& value)
{
    checkOrdinal(ordinal);
    const size_t i = size_t(ordinal);
    if (m_pending == Pending::None)
        throw JetError(errors::kUpdateWithoutEdit,
                       QStringLiteral("Update or CancelUpdate without AddNew or Edit: call Edit "
                                      "or AddNew before writing field %1.")
                           .arg(m_columns[i].name));
    m_buffer[i] = toStoredValue(m_columns[i].kind, value, m_columns[i].name);
    m_dirty |= std::uint64_t(1) << i;
}

QString KeysetRecordset::fieldName(int ordinal) const
{
    checkOrdinal(ordinal);
    return m_columns[size_t(ordinal)].name;
}

void KeysetRecordset::startPending(Pending pending)
{
    m_buffer.assign(m_columns.size(), StoredValue{});
    m_pending = pending;
}

void KeysetRecordset::AddNew()
{
    checkUpdatable();
    discardPending();
    startPending(Pending::Adding);
}

void KeysetRecordset::Edit()
{
    checkUpdatable();
    discardPending();
    currentKey();
    startPending(Pending::Editing);
}

void KeysetRecordset::Update()
{
    if (m_pending == Pending::None)
        throw JetError(errors::kUpdateWithoutEdit,
                       QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    // On failure the pending record stays, as it was, for the caller to fix or cancel.
    if (m_pending == Pending::Adding)
        insertPending();
    else
        updatePending();
    discardPending();
}

void KeysetRecordset::CancelUpdate()
{
    if (m_pending == Pending::None)
        throw JetError(errors::kUpdateWithoutEdit,
                       QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    discardPending();
}

void KeysetRecordset::insertPending()
{
    // A text column nobody wrote to holds '', never null. The buffer of a column not written
    // is never shown, so it can carry that ''.
    const std::uint64_t mask = m_dirty | m_textColumns;
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if ((mask & ~m_dirty) & (std::uint64_t(1) << i))
            m_buffer[i] = StoredValue{StoredValue::Type::Text, 0, 0, QByteArray("")};
    }
    const Key key = insertRow(mask, m_buffer);
    appendKey(key);
    // A backend may hand out the key of a deleted last row again: the new slot must win.
    if (!m_positions.empty())
        m_positions.insert_or_assign(key, size() - 1);
}

void KeysetRecordset::updatePending()
{
    const Key key = currentKey();
    if (m_dirty != 0)
        updateRow(key, m_dirty, m_buffer);
}

void KeysetRecordset::Delete()
{
    checkUpdatable();
    discardPending();
    const Key key = currentKey();
    deleteRow(key);
    m_keys[size_t(m_current)] = kGone;
    --m_live;
}

void KeysetRecordset::FindFirst(const QString& criterion)
{
    const std::optional<qsizetype> slot =
        isUpdatable() ? findInDynaset(criterion) : findInRows(criterion);
    if (slot)
        moveTo(*slot);
    m_noMatch = !slot.has_value();
}

std::optional<qsizetype> KeysetRecordset::liveSlot(Key key)
{
    if (m_positions.empty()) {
        m_positions.reserve(m_keys.size());
        for (size_t slot = 0; slot < m_keys.size(); ++slot) {
            if (m_keys[slot] != kGone)
                m_positions.emplace(m_keys[slot], qsizetype(slot));
        }
    }
    const auto it = m_positions.find(key);
    if (it == m_positions.end() || m_keys[size_t(it->second)] == kGone)
        return std::nullopt;
    return it->second;
}

std::optional<qsizetype> KeysetRecordset::earliestSlot(const std::vector<Key>& found)
{
    std::optional<qsizetype> best;
    for (const Key key : found) {
        const std::optional<qsizetype> slot = liveSlot(key);
        if (slot && (!best || *slot < *best))
            best = slot;
    }
    return best;
}

std::optional<KeysetRecordset::NumberCriterion>
KeysetRecordset::numberCriterion(const QString& criterion)
{
    static const QRegularExpression simple(
        QStringLiteral("^\\s*\\[?(\\w+)\\]?\\s*=\\s*([+-]?\\d+)\\s*$"));
    const QRegularExpressionMatch m = simple.match(criterion);
    if (!m.hasMatch())
        return std::nullopt;
    return NumberCriterion{m.captured(1), m.captured(2).toLongLong()};
}

QString KeysetRecordset::insertText(std::uint64_t mask, Placeholder placeholder) const
{
    QStringList names, parameters;
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if (mask & (std::uint64_t(1) << i)) {
            names << quoted(m_columns[i].name);
            parameters << placeholder(int(i), int(parameters.size()) + 1);
        }
    }
    if (names.isEmpty())
        return QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoted(m_table));
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(quoted(m_table), names.join(QLatin1Char(',')), parameters.join(QLatin1Char(',')));
}

QString KeysetRecordset::assignmentsText(std::uint64_t mask, Placeholder placeholder) const
{
    QStringList assignments;
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if (mask & (std::uint64_t(1) << i))
            assignments << quoted(m_columns[i].name) + QStringLiteral(" = ") +
                               placeholder(int(i), int(assignments.size()) + 1);
    }
    return assignments.join(QLatin1Char(','));
}

// A read-only set holds its rows, so the windows' "column = value" is compared in memory.
std::optional<qsizetype> KeysetRecordset::findInRows(const QString& criterion) const
{
    static const QRegularExpression simple(
        QStringLiteral("^\\s*\\[?(\\w+)\\]?\\s*=\\s*(?:'([^']*)'|([+-]?\\d+))\\s*$"));
    const QRegularExpressionMatch m = simple.match(criterion);
    const int column = m.hasMatch() ? columnIndex(m.captured(1)) : -1;
    if (column < 0)
        throw JetError(errors::kSyntaxError,
                       QStringLiteral("The criterion \"%1\" cannot be used on this record set; "
                                      "write it as column=value.")
                           .arg(criterion));
    const bool numeric = m.capturedLength(3) > 0;
    for (qsizetype slot = 0; slot < size(); ++slot) {
        const QVariant& value = m_rows[size_t(m_keys[size_t(slot)])][size_t(column)];
        const bool equal = numeric ? (value.toLongLong() == m.captured(3).toLongLong() &&
                                      !value.toString().isEmpty())
                                   : value.toByteArray() == m.captured(2).toLatin1();
        if (equal)
            return slot;
    }
    return std::nullopt;
}

} // namespace jet
