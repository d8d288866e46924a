#include "search/SearchResultsModel.h"

#include <algorithm>
#include <cstdlib>

#include "platform/jet/JetError.h"
#include "platform/jet/Recordset.h"
#include "platform/varnel/VarnelCodec.h"

namespace search {

namespace {

constexpr int kSampleHead = 64;   // the first rows, which the user sees on opening
constexpr int kSampleSpread = 96; // rows spread evenly over the rest

} // namespace

SearchResultsModel::SearchResultsModel(SearchRegister which, QObject* parent)
    : QAbstractTableModel(parent), m_register(which), m_columns(gridColumns(which))
{
    for (const GridColumn& c : m_columns)
        m_headers.append(varnel::decode(c.header));
}

SearchResultsModel::~SearchResultsModel() = default;

void SearchResultsModel::setResult(std::unique_ptr<jet::Recordset> result)
{
    beginResetModel();
    m_result = std::move(result);
    m_count = m_result ? m_result->RecordCount() : 0;
    m_position = m_count > 0 ? 0 : -1;
    if (m_count > 0)
        m_result->MoveFirst();
    m_rows.assign(size_t(m_count), SearchRecord());
    m_read.assign(size_t(m_count), false);
    endResetModel();
}

// Walks the record set to `row` from wherever is nearest: its current row, its first or its
// last. A view asks for rows near each other, so this is a step or two.
void SearchResultsModel::moveTo(int row) const
{
    const int fromHere = std::abs(row - m_position);
    if (row < fromHere) {
        m_result->MoveFirst();
        m_position = 0;
    } else if (m_count - 1 - row < fromHere) {
        m_result->MoveLast();
        m_position = m_count - 1;
    }
    for (; m_position < row; ++m_position)
        m_result->MoveNext();
    for (; m_position > row; --m_position)
        m_result->MovePrevious();
}

const SearchRecord& SearchResultsModel::record(int row) const
{
    static const SearchRecord none;
    if (row < 0 || row >= m_count)
        return none;
    if (m_read[size_t(row)])
        return m_rows[size_t(row)];
    SearchRecord record;
    try {
        moveTo(row);
        const int fields = m_result->FieldCount();
        record.reserve(fields);
        for (int f = 0; f < fields; ++f)
            record.append(m_result->Fields(f).Value());
    } catch (const jet::JetError& error) {
        // Deleted by another window since the search: the row stays, empty, until the next
        // search; anything else is worth a line in the log, never a failed repaint.
        if (error.number() != jet::errors::kRecordDeleted)
            qWarning("Velmora: %s", error.what());
        record.clear();
    }
    m_read[size_t(row)] = true;
    m_rows[size_t(row)] = std::move(record);
    return m_rows[size_t(row)];
}

QList<SearchRecord> SearchResultsModel::records() const
{
    QList<SearchRecord> all;
    all.reserve(m_count);
    for (int row = 0; row < m_count; ++row)
        all.append(record(row));
    return all;
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
    return parent.isValid() ? 0 : m_count;
}

int SearchResultsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant SearchResultsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_count || index.column() >= m_columns.size())
        return {};
    const GridColumn& column = m_columns[index.column()];
    if (column.kind == CellKind::Position)
        return role == Qt::DisplayRole ? QVariant(gridPositionText(index.row() + 1)) : QVariant();
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    const SearchRecord& r = record(index.row());
    const QVariant value = column.ordinal < r.size() ? r[column.ordinal] : QVariant();
    if (role == Qt::DisplayRole)
        return r.isEmpty() ? QString() : gridCellText(column.kind, value);
    // The whole text, line breaks kept, for a cell too narrow to show it.
    return column.kind == CellKind::Text && !r.isEmpty() ? QVariant(csvCellText(column.kind, value))
                                                         : QVariant();
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
