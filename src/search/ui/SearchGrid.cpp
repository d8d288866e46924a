#include "search/ui/SearchGrid.h"

#include <algorithm>

#include <QEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QStyledItemDelegate>
#include <QToolTip>

namespace search {

namespace {

constexpr int kCellPadding = 16;
constexpr int kWidestColumn = 420;

// Shows a cell's tooltip (its whole text) only when the cell cannot show all of it.
class ElidedTextDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override
    {
        if (event->type() != QEvent::ToolTip)
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        const QString whole = index.data(Qt::ToolTipRole).toString();
        const QString shown = index.data(Qt::DisplayRole).toString();
        const bool cut =
            view->fontMetrics().horizontalAdvance(shown) + kCellPadding > option.rect.width();
        if (whole.isEmpty() || (!cut && whole == shown)) {
            QToolTip::hideText();
            return true;
        }
        QToolTip::showText(event->globalPos(), whole, view, option.rect);
        return true;
    }
};

} // namespace

SearchGrid::SearchGrid(QWidget* parent) : QTableView(parent)
{
    setObjectName(QStringLiteral("MSFlexGrid1"));
    setItemDelegate(new ElidedTextDelegate(this));
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the list for the buttons; the arrow keys move within it.
    setTabKeyNavigation(false);
    setGridStyle(Qt::SolidLine);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    // A content-sized vertical header measures every row: one height for all keeps a long
    // list instant.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    fitRowHeight();
}

void SearchGrid::setResults(SearchResultsModel* results)
{
    m_results = results;
    setModel(results);
    connect(results, &QAbstractItemModel::modelReset, this, &SearchGrid::fitColumns);
    fitColumns();
}

void SearchGrid::fitColumns()
{
    if (!model())
        return;
    const QFontMetrics cells = fontMetrics();
    const QFontMetrics headers = horizontalHeader()->fontMetrics();
    const QList<int> sample = SearchResultsModel::sampleRows(model()->rowCount());
    for (int c = 0; c < model()->columnCount(); ++c) {
        const QString header = model()->headerData(c, Qt::Horizontal).toString();
        int width = headers.horizontalAdvance(header) + kCellPadding;
        int cellWidth = 0;
        for (const int r : sample)
            cellWidth = std::max(cellWidth,
                                 cells.horizontalAdvance(model()->index(r, c).data().toString()) +
                                     kCellPadding);
        // Long texts are elided rather than widening a column past the limit; a header is
        // never cut.
        width = std::max(width, std::min(cellWidth, kWidestColumn));
        setColumnWidth(c, width);
    }
}

void SearchGrid::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        horizontalHeader()->setFont(font());
        fitRowHeight();
        fitColumns();
    }
}

void SearchGrid::fitRowHeight()
{
    // Kannada stacks signs above and below the letter: room for the font's full height.
    const int height = fontMetrics().height() + 8;
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(height);
    horizontalHeader()->setFixedHeight(height + 4);
}

} // namespace search
