#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>
#include <QVariant>

#include "data/Record.h"
#include "search/SearchGridColumns.h"

namespace search {

// The rows of one search result for a grid: the header row, then one row per record with its
// position in column 0 and the record's columns after it.
//
// The records are the result as its statement read them, all at one moment, and held here:
// what another window or program commits afterwards (a deletion and its renumbering, a change)
// shows only when the list is given new records, so the list never numbers a record twice,
// skips one, shows an empty row or a row out of its order. A full register (32,767 records)
// takes about 25 MB.
class SearchResultsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit SearchResultsModel(data::Register which, QObject* parent = nullptr);
    ~SearchResultsModel() override;

    data::Register searchRegister() const { return m_register; }
    const QList<GridColumn>& columns() const { return m_columns; }

    // Shows `records` in their order, replacing the whole list.
    void setRecords(QList<data::Record> records);

    // Row `row` of the list; an empty record past the end.
    const data::Record& record(int row) const;
    // Every record shown, in the list's order: what an export of the list writes.
    const QList<data::Record>& records() const { return m_records; }

    // The rows a caller measuring the list should look at instead of all of them: the first
    // screenful and rows spread evenly over the rest (row numbers, ascending).
    static QList<int> sampleRows(int rowCount);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    data::Register m_register;
    const QList<GridColumn>& m_columns;
    QStringList m_headers;
    QList<data::Record> m_records;
};

} // namespace search
