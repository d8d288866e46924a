#include "search/SearchResultsModel.h"

#include <algorithm>
#include <utility>

#include "platform/varnel/VarnelCodec.h"

namespace search {

namespace {

constexpr int kSampleHead = 64;   // the first rows, which the user sees on opening
constexpr int kSampleSpread = 96; // rows spread evenly over the rest

} // namespace

SearchResultsModel::SearchResultsModel(data::Register which, QObject* parent)
    : QAbstractTableModel(parent), m_register(which), m_columns(gridColumns(which))
{
    for (const GridColumn& c : m_columns)
        m_headers.append(varnel::decode(c.header));
}

SearchResultsModel::~SearchResultsModel() = default;

void SearchResultsModel::setRecords(QList<data::Record> records)
{
    beginResetModel();
    m_records = std::move(records);
    endResetModel();
}

const data::Record& SearchResultsModel::record(int row) const
{
    static const data::Record none;
    return row >= 0 && row < m_records.size() ? m_records[row] : none;
}

QList<int> SearchResultsModel::sampleRows(int rowCount)
{
    QList<int> rows;
    const int head = std::min(rowCount, kSampleHead);
    for (int r = 0; r < head; ++r)
        rows.append(r);
    const int rest = rowCount - head;
    const int spread = std::min(rest, kSampleSpread);
    for (int i = 0; i < spread; ++i) {
        // Evenly over the rest, ending on the last row.
        const int r = head + int((qint64(rest - 1) * (i + 1)) / spread);
        if (rows.isEmpty() || r > rows.last())
            rows.append(r);
    }
    return rows;
}

int SearchResultsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_records.size());
}

int SearchResultsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant SearchResultsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_records.size() || index.column() >= m_columns.size())
        return {};
    const GridColumn& column = m_columns[index.column()];
    if (column.kind == CellKind::Position)
        return role == Qt::DisplayRole ? QVariant(gridPositionText(index.row() + 1)) : QVariant();
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    const QVariant& value = m_records[index.row()].value(column.ordinal);
    if (role == Qt::DisplayRole)
        return gridCellText(column.kind, value);
    // The whole text, line breaks kept, for a cell too narrow to show it.
    return column.kind == CellKind::Text ? QVariant(csvCellText(column.kind, value)) : QVariant();
}

QVariant SearchResultsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_headers.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return m_headers[section];
    return {};
}

} // namespace search
