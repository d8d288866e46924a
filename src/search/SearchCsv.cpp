#include "search/SearchCsv.h"

#include <utility>
#include <vector>

#include "data/CsvText.h"
#include "platform/jet/Database.h"
#include "platform/jet/RowsAhead.h"
#include "platform/varnel/VarnelCodec.h"

namespace search {

QStringList csvHeader(data::Register which)
{
    QStringList header;
    for (const GridColumn& c : gridColumns(which))
        header.append(varnel::decode(c.header));
    return header;
}

QStringList csvFields(data::Register which, const QVariantList& values)
{
    QStringList fields;
    for (const GridColumn& c : gridColumns(which))
        fields.append(csvCellText(c.kind, values.value(c.ordinal)));
    return fields;
}

QByteArray searchCsv(data::Register which, const QList<QVariantList>& rows)
{
    QString text = data::csvLine(csvHeader(which));
    for (const QVariantList& values : rows)
        text += data::csvLine(csvFields(which, values));
    return text.toUtf8();
}

int streamSearchCsv(data::Register which, jet::Database& database, const QString& statement,
                    const std::function<void(const QByteArray& piece)>& sink)
{
    sink(data::csvLine(csvHeader(which)).toUtf8());
    const QList<GridColumn>& columns = gridColumns(which);
    // Each column's last text, decoded once while it repeats (a weekday, a venue, a contact).
    std::vector<std::pair<QVariant, QString>> last(size_t(columns.size()));
    QStringList fields;
    QByteArray line;
    int records = 0;
    jet::readRowsAhead(database, statement, [&](const std::vector<QVariant>& row) {
        fields.clear();
        for (qsizetype i = 0; i < columns.size(); ++i) {
            const GridColumn& c = columns[i];
            static const QVariant none;
            const QVariant& value = size_t(c.ordinal) < row.size() ? row[size_t(c.ordinal)] : none;
            auto& [seen, text] = last[size_t(i)];
            if (c.kind != CellKind::Text || value != seen) {
                text = csvCellText(c.kind, value);
                seen = value;
            }
            fields.append(text);
        }
        line.truncate(0);
        data::appendCsvLine(line, fields);
        sink(line);
        ++records;
        return true;
    });
    return records;
}

} // namespace search
