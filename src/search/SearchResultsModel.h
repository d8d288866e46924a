#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>
#include <QVariant>

#include "search/SearchGridColumns.h"

namespace jet {
class Recordset;
}

namespace search {

// One record of a result, every column by its ordinal (sl_no first), as the engine typed it.
using SearchRecord = QVariantList;

// Every row of `rs` from its first, in the record set's order: one pass over the rows.
QList<SearchRecord> readRecords(jet::Recordset& rs);

// The rows of one search result for a grid: the header row, then one row per record with its
// position in column 0 and the record's columns after it. Cell texts are made when the view
// asks for them, so a long list costs only the rows on screen.
class SearchResultsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit SearchResultsModel(SearchRegister which, QObject* parent = nullptr);

    SearchRegister searchRegister() const { return m_register; }
    const QList<GridColumn>& columns() const { return m_columns; }

    // Replaces the whole list; nothing of the previous one remains.
    void setRecords(QList<SearchRecord> records);
    // The records shown, in the list's order (row r of the grid is records()[r]).
    const QList<SearchRecord>& records() const { return m_records; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    SearchRegister m_register;
    const QList<GridColumn>& m_columns;
    QStringList m_headers;
    QList<SearchRecord> m_records;
};

} // namespace search
