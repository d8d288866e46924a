#pragma once

#include <memory>
#include <vector>

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
// Empty for a row that another window deleted after the search.
using SearchRecord = QVariantList;

// The rows of one search result for a grid: the header row, then one row per record with its
// position in column 0 and the record's columns after it.
//
// The result is a record set that holds the keys of its rows in the list's order; a row is
// read from the diary the first time the view (or a caller of record()) asks for it and kept
// from then on, so opening a list of 32,767 rows costs the keys and the rows on screen.
class SearchResultsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit SearchResultsModel(SearchRegister which, QObject* parent = nullptr);
    ~SearchResultsModel() override;

    SearchRegister searchRegister() const { return m_register; }
    const QList<GridColumn>& columns() const { return m_columns; }

    // Shows the rows of `result` in its order, replacing the whole list; null empties it.
    void setResult(std::unique_ptr<jet::Recordset> result);
    jet::Recordset* result() const { return m_result.get(); }

    // Row `row` of the list (every column by ordinal), read now if it was not yet.
    const SearchRecord& record(int row) const;
    // Every record shown, in the list's order: what an export of the list writes.
    QList<SearchRecord> records() const;

    // The rows a caller measuring the list should look at instead of all of them: the first
    // screenful and rows spread evenly over the rest (row numbers, ascending).
    static QList<int> sampleRows(int rowCount);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    void moveTo(int row) const;

    SearchRegister m_register;
    const QList<GridColumn>& m_columns;
    QStringList m_headers;
    std::unique_ptr<jet::Recordset> m_result;
    int m_count = 0;
    mutable int m_position = -1; // the record set's current row
    mutable std::vector<SearchRecord> m_rows;
    mutable std::vector<bool> m_read;
};

} // namespace search
