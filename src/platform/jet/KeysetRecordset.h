#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/jet/ColumnValue.h"
#include "platform/jet/Recordset.h"

namespace jet {

// What a record set does the same on every backend: it holds the keys of its rows in the
// query's order, walks them with a current position, buffers a pending AddNew/Edit and finds
// rows by criterion. A read-only set holds its rows and its keys index them; a dynaset's keys
// are row identities, and its backend reads, writes and looks up rows by them.
class KeysetRecordset : public Recordset {
public:
    int RecordCount() const final { return int(m_live); }
    void MoveFirst() final;
    void MoveLast() final;
    void MoveNext() final;
    void MovePrevious() final;
    bool Eof() const final;
    bool Bof() const final;
    int FieldCount() const final { return int(m_columns.size()); }
    void AddNew() final;
    void Edit() final;
    void Update() final;
    void CancelUpdate() final;
    void Delete() final;
    qint64 Bookmark() const final { return currentKey(); }
    void Requery() final;
    void FindFirst(const QString& criterion) final;
    bool NoMatch() const final { return m_noMatch; }
    QString tableName() const final { return m_table; }
    bool isUpdatable() const final { return !m_table.isEmpty(); }
    bool isAdding() const final { return m_pending == Pending::Adding; }
    bool isEditing() const final { return m_pending == Pending::Editing; }

protected:
    using Key = qint64;
    using Row = std::vector<QVariant>;
    struct Column {
        QString name;
        ColumnKind kind;
    };
    // A row deleted through this set keeps its slot, so positions stay valid and deleting
    // every row one by one stays linear.
    static constexpr Key kGone = std::numeric_limits<Key>::min();
    // The pending buffer marks written columns in one 64-bit mask; wider tables are read-only.
    static constexpr int kMaxWritableColumns = 64;

    // A table type given a bare table name reads the whole table.
    KeysetRecordset(std::shared_ptr<Database> database, const QString& sql, RecordsetType type);

    // Reads the set's keys (a dynaset) or rows (a read-only set) afresh, through clearRows
    // and appendKey/appendRow. Throws JetError when reading fails.
    virtual void load() = 0;
    // The dynaset row `key` as stored; throws recordDeleted when it no longer exists.
    virtual const Row& readRow(Key key) = 0;
    // Writes a new row with the columns in `mask` set from `values`; returns its key.
    virtual Key insertRow(std::uint64_t mask, const std::vector<StoredValue>& values) = 0;
    // Writes the columns in `mask` of row `key`; throws recordDeleted when it is gone.
    virtual void updateRow(Key key, std::uint64_t mask, const std::vector<StoredValue>& values) = 0;
    virtual void deleteRow(Key key) = 0;
    // The earliest slot of a dynaset's rows that meet the criterion.
    virtual std::optional<qsizetype> findInDynaset(const QString& criterion) = 0;
    // Called after every move, before the new current row is read; when it throws, the move
    // is undone.
    virtual void afterMove() {}
    // Empties the set; a backend holding more per row drops that too.
    virtual void clearRows();

    void appendKey(Key key);
    void appendRow(Row row);
    // Shows the first row, or none in an empty set; opening ends with it.
    void startAtFirst();

    const QString& sql() const { return m_sql; }
    void setTable(const QString& table) { m_table = table; }
    const std::vector<Column>& columns() const { return m_columns; }
    void setColumns(std::vector<Column> columns);
    bool tooWideToWrite() const { return m_columns.size() > size_t(kMaxWritableColumns); }
    // The column named so (case aside), or -1.
    int columnIndex(const QString& name) const;
    const std::vector<Key>& keys() const { return m_keys; }
    qsizetype size() const { return qsizetype(m_keys.size()); }
    QString readContext() const;

    // The slot of live key `key`, if the set holds it.
    std::optional<qsizetype> liveSlot(Key key);
    // The earliest slot among `found` keys the set holds alive.
    std::optional<qsizetype> earliestSlot(const std::vector<Key>& found);
    // "column = integer", the criterion the windows search with.
    struct NumberCriterion {
        QString column;
        qint64 value;
    };
    static std::optional<NumberCriterion> numberCriterion(const QString& criterion);

    // Statement texts over the columns in `mask`, in column order; `placeholder(column, n)`
    // names the parameter that holds the value of `column`, the n-th (from 1) written.
    using Placeholder = QString (*)(int column, int n);
    QString insertText(std::uint64_t mask, Placeholder placeholder) const;
    QString assignmentsText(std::uint64_t mask, Placeholder placeholder) const;

    [[noreturn]] static void noCurrentRecord();
    [[noreturn]] static void recordDeleted();
    // The query is an action query or otherwise gives no columns.
    [[noreturn]] void returnsNoRows() const;

private:
    enum class Pending { None, Adding, Editing };
    static constexpr qsizetype kBeforeFirst = -1;
    static constexpr qsizetype kAfterLast = std::numeric_limits<qsizetype>::max();

    void reloadAfterRollback() final;
    QVariant fieldValue(int ordinal) final;
    void setFieldValue(int ordinal, const QVariant& value) final;
    QString fieldName(int ordinal) const final;

    bool onRow() const { return m_live > 0 && m_current >= 0 && m_current < size(); }
    qsizetype nextLive(qsizetype from) const;
    qsizetype previousLive(qsizetype from) const;
    qsizetype firstLive();
    qsizetype lastLive();
    void moveTo(qsizetype slot);
    void discardPending();
    Key currentKey() const;
    const Row& currentRow();
    void checkUpdatable() const;
    void startPending(Pending pending);
    void insertPending();
    void updatePending();
    std::optional<qsizetype> findInRows(const QString& criterion) const;

    QString m_sql;
    QString m_table; // empty for a read-only set
    std::vector<Column> m_columns;
    std::uint64_t m_textColumns = 0;

    // Keys in the set's order: row identities for a dynaset, indices into m_rows otherwise.
    std::vector<Key> m_keys;
    std::vector<Row> m_rows;
    std::unordered_map<Key, qsizetype> m_positions; // key -> slot, built by the first find
    qsizetype m_live = 0;
    qsizetype m_firstLiveHint = 0; // no live key before it
    qsizetype m_lastLiveHint = -1; // no live key after it
    qsizetype m_current = kBeforeFirst;
    bool m_noMatch = false;

    Pending m_pending = Pending::None;
    std::vector<StoredValue> m_buffer;
    std::uint64_t m_dirty = 0;
};

} // namespace jet
