#pragma once

#include <QTableView>

#include "search/SearchResultsModel.h"

namespace search {

// The list of a search window (MSFlexGrid1): a table view over a SearchResultsModel with one
// fixed header row, no fixed column and rows of one fixed height. Column widths come from the
// header and a sample of rows, so a long list is never measured row by row; a text too long
// for its column is elided and shown whole in a tooltip.
class SearchGrid : public QTableView {
    Q_OBJECT
public:
    explicit SearchGrid(QWidget* parent = nullptr);

    void setResults(SearchResultsModel* results);
    SearchResultsModel* results() const { return m_results; }

    // Sets every column to the width its header and the sample need, within a limit.
    void fitColumns();

protected:
    void changeEvent(QEvent* event) override;

private:
    void fitRowHeight();

    SearchResultsModel* m_results = nullptr;
};

} // namespace search
