#include "platform/jet/QueryText.h"

#include <QRegularExpression>

namespace jet {

// Blanks out the insides of quoted literals so keywords are only found in the query itself.
QString withoutLiterals(const QString& sql)
{
    QString out = sql;
    QChar quote;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar c = out[i];
        if (quote.isNull()) {
            if (c == QLatin1Char('\'') || c == QLatin1Char('"'))
                quote = c;
        } else if (c == quote) {
            quote = QChar();
        } else {
            out[i] = QLatin1Char(' ');
        }
    }
    return out;
}

QString quoted(const QString& identifier)
{
    return QLatin1Char('"') + QString(identifier).replace(QLatin1Char('"'), QLatin1String("\"\"")) +
           QLatin1Char('"');
}

// "Select * from <table> [where ...] [order by ...]": the queries a dynaset can write through.
std::optional<ParsedQuery> parseSingleTableQuery(const QString& sql)
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*select\\s+\\*\\s+from\\s+(\\[[^\\]]+\\]|\"[^\"]+\"|\\w+)(.*)$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression restRe(QStringLiteral("^\\s*(?:$|where\\b|order\\s+by\\b)"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(sql);
    if (!m.hasMatch())
        return std::nullopt;
    QString table = m.captured(1);
    if (table.startsWith(QLatin1Char('[')) || table.startsWith(QLatin1Char('"')))
        table = table.mid(1, table.size() - 2);
    QString rest = m.captured(2);
    while (rest.endsWith(QLatin1Char(';')) || (!rest.isEmpty() && rest.back().isSpace()))
        rest.chop(1);
    if (!restRe.match(withoutLiterals(rest)).hasMatch())
        return std::nullopt;
    return ParsedQuery{table, rest};
}

bool hasOrderBy(const QString& sql)
{
    static const QRegularExpression orderBy(QStringLiteral("\\border\\s+by\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    return orderBy.match(withoutLiterals(sql)).hasMatch();
}

} // namespace jet
