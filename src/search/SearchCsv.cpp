#include "search/SearchCsv.h"

#include "platform/varnel/VarnelCodec.h"

namespace search {

QString csvField(const QString& text)
{
    static const QString special = QStringLiteral(",\"\r\n");
    bool quoted = false;
    for (const QChar c : text) {
        if (special.contains(c)) {
            quoted = true;
            break;
        }
    }
    if (!quoted)
        return text;
    QString escaped = text;
    escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QString csvLine(const QStringList& fields)
{
    QString line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += QLatin1Char(',');
        line += csvField(fields[i]);
    }
    return line + QStringLiteral("\r\n");
}

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
    QString text = csvLine(csvHeader(which));
    for (const SearchRecord& record : records) {
        // A row deleted by another window after the search is no longer there to write.
        if (!record.isEmpty())
            text += csvLine(csvFields(which, record));
    }
    return text.toUtf8();
}

} // namespace search
