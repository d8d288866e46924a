#include "search/SearchResultsModel.h"

#include "platform/jet/Recordset.h"
#include "platform/varnel/VarnelCodec.h"

namespace search {

QList<SearchRecord> readRecords(jet::Recordset& rs)
{
    QList<SearchRecord> records;
    const int count = rs.RecordCount();
    if (count == 0)
        return records;
    records.reserve(count);
    const int fields = rs.FieldCount();
    rs.MoveFirst();
    for (int i = 1; i <= count; ++i) {
        SearchRecord record;
        record.reserve(fields);
        for (int f = 0; f < fields; ++f)
            record.append(rs.Fields(f).Value());
        records.append(std::move(record));
        if (!rs.Eof())
            rs.MoveNext();
    }
    return records;
}

SearchResultsModel::SearchResultsModel(SearchRegister which, QObject* parent)
    : QAbstractTableModel(parent), m_register(which), m_columns(gridColumns(which))
{
    for (const GridColumn& c : m_columns)
        m_headers.append(varnel::decode(c.header));
}

void SearchResultsModel::setRecords(QList<SearchRecord> records)
{
    beginResetModel();
    m_records = std::move(records);
    endResetModel();
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
    const SearchRecord& record = m_records[index.row()];
    const QVariant value = column.ordinal < record.size() ? record[column.ordinal] : QVariant();
    switch (role) {
    case Qt::DisplayRole: return gridCellText(column.kind, value);
    case Qt::ToolTipRole:
        // The whole text, line breaks kept, for a cell too narrow to show it.
        return column.kind == CellKind::Text ? QVariant(csvCellText(column.kind, value))
                                             : QVariant();
    default: return {};
    }
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
