#include "search/SearchCsv.h"

#include <algorithm>

#include "data/CsvText.h"
#include "platform/jet/Database.h"
#include "platform/varnel/VarnelCodec.h"

namespace search {

QStringList csvHeader(SearchRegister which)
{
    QStringList header;
    for (const GridColumn& c : gridColumns(which))
        header.append(varnel::decode(c.header));
    return header;
}

QStringList csvFields(SearchRegister which, const SearchRecord& record)
{
    QStringList fields;
    for (const GridColumn& c : gridColumns(which)) {
        const QVariant value = c.ordinal < record.size() ? record[c.ordinal] : QVariant();
        fields.append(csvCellText(c.kind, value));
    }
    return fields;
}

QByteArray searchCsv(SearchRegister which, const QList<SearchRecord>& records)
{
    QString text = data::csvLine(csvHeader(which));
    for (const SearchRecord& record : records) {
        // A row deleted by another window after the search is no longer there to write.
        if (!record.isEmpty())
            text += data::csvLine(csvFields(which, record));
    }
    return text.toUtf8();
}

int streamSearchCsv(SearchRegister which, jet::Database& database, const QString& statement,
                    const std::function<void(const QByteArray& piece)>& sink)
{
    sink(data::csvLine(csvHeader(which)).toUtf8());
    int records = 0;
    SearchRecord record;
    QByteArray line;
    database.ReadRows(statement, [&](const std::vector<QVariant>& row) {
        record.resize(qsizetype(row.size()));
        std::copy(row.begin(), row.end(), record.begin());
        line.truncate(0);
        data::appendCsvLine(line, csvFields(which, record));
        sink(line);
        ++records;
        return true;
    });
    return records;
}

} // namespace search
