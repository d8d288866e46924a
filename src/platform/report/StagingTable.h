#pragma once

#include <vector>

#include <QStringList>
#include <QVariant>

namespace jet {
class Database;
}

namespace report {

// The rows a report lays out, walked from the first to the last as often as the layout needs
// (once to count the pages, once to write them).
class RowSource {
public:
    virtual ~RowSource() = default;

    virtual const QStringList& columns() const = 0;
    virtual int rowCount() const = 0;
    // Back to the first row.
    virtual void rewind() = 0;
    // The next row's values (one per column); nullptr after the last. Valid until the next call.
    virtual const std::vector<QVariant>* next() = 0;

    int column(const QString& name) const { return int(columns().indexOf(name)); }
};

// A staging table read through a connection a chunk of rows at a time, in the order the rows
// were staged (the table's row identity): only one chunk is held at once, so a report of a
// whole register takes no more memory than one of a week.
class StagingReader final : public RowSource {
public:
    StagingReader(jet::Database& database, const QString& table, int chunkRows = 512);

    const QStringList& columns() const override { return m_columns; }
    int rowCount() const override { return m_count; }
    void rewind() override;
    const std::vector<QVariant>* next() override;

private:
    bool fetch();

    jet::Database& m_database;
    QString m_select; // without its LIMIT
    int m_chunkRows;
    QStringList m_columns;
    int m_count = 0;
    std::vector<std::vector<QVariant>> m_chunk;
    size_t m_at = 0;
    int m_fetched = 0; // rows read by the chunks so far
};

// The rows of a staging table held whole in memory: every column, in the order the rows were
// staged.
struct StagingTable {
    QStringList columns;
    std::vector<std::vector<QVariant>> rows;

    int column(const QString& name) const { return int(columns.indexOf(name)); }
};

StagingTable readStagingTable(jet::Database& database, const QString& table);

// A StagingTable walked as a RowSource.
class TableRows final : public RowSource {
public:
    explicit TableRows(const StagingTable& table) : m_table(table) {}

    const QStringList& columns() const override { return m_table.columns; }
    int rowCount() const override { return int(m_table.rows.size()); }
    void rewind() override { m_at = 0; }
    const std::vector<QVariant>* next() override
    {
        return m_at < m_table.rows.size() ? &m_table.rows[m_at++] : nullptr;
    }

private:
    const StagingTable& m_table;
    size_t m_at = 0;
};

// The text a value shows in the report: dates in `dateFormat`, Varnel text decoded to Unicode
// Kannada, digits as Kannada digits unless `kannadaDigits` is false.
QString cellText(const QVariant& value, const QString& dateFormat, bool kannadaDigits);

} // namespace report
