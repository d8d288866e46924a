#include "data/CsvText.h"

#include <algorithm>

#include "data/Utf8Text.h"

namespace data {

namespace {

bool needsQuotes(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return u == u',' || u == u'"' || u == u'\r' || u == u'\n';
    });
}

} // namespace

QString csvField(const QString& text)
{
    if (!needsQuotes(text))
        return text;
    QString escaped = text;
    if (text.contains(QLatin1Char('"')))
        escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QString csvLine(const QStringList& fields)
{
    QStringList quoted;
    for (const QString& field : fields)
        quoted << csvField(field);
    return quoted.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

void appendCsvLine(QByteArray& utf8, const QStringList& fields)
{
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            utf8 += ',';
        const QString& field = fields[i];
        if (!needsQuotes(field)) {
            appendUtf8(utf8, field);
            continue;
        }
        // Quoted, each quote doubled.
        utf8 += '"';
        qsizetype from = 0;
        for (qsizetype quote; (quote = field.indexOf(QLatin1Char('"'), from)) >= 0;
             from = quote + 1) {
            appendUtf8(utf8, QStringView(field).mid(from, quote - from));
            utf8 += "\"\"";
        }
        appendUtf8(utf8, QStringView(field).mid(from));
        utf8 += '"';
    }
    utf8 += "\r\n";
}

} // namespace data
