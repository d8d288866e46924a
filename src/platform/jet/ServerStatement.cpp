#include "platform/jet/ServerStatement.h"

#include <QLocale>
#include <QRegularExpression>

#include "platform/jet/JetDateTime.h"
#include "platform/jet/JetError.h"
#include "platform/jet/PgDatabase.h"
#include "platform/jet/QueryText.h"
#include "platform/jet/StorageText.h"
#include "platform/varnel/VarnelCodec.h"

namespace jet {

namespace {

constexpr auto kCaseless = QRegularExpression::CaseInsensitiveOption;

// The position just after the literal that opens at `quote` ('' inside is a quote).
qsizetype literalEnd(const QString& sql, qsizetype quote)
{
    qsizetype i = quote + 1;
    while (i < sql.size()) {
        if (sql[i] == QLatin1Char('\'')) {
            if (i + 1 < sql.size() && sql[i + 1] == QLatin1Char('\'')) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return sql.size();
}

QString literalText(const QString& literal)
{
    return literal.mid(1, literal.size() - 2).replace(QLatin1String("''"), QLatin1String("'"));
}

// datevalue('10/03/2027') -> datevalue('2027-03-10'), read with the desk's locale as the
// file's engine reads it.
QString withIsoDateValues(QString sql)
{
    static const QRegularExpression call(QStringLiteral("\\b(datevalue|timevalue)\\s*\\(\\s*'"),
                                         kCaseless);
    static const QRegularExpression closing(QStringLiteral("^\\s*\\)"));
    const QString masked = withoutLiterals(sql);
    std::vector<QRegularExpressionMatch> calls;
    for (auto it = call.globalMatch(masked); it.hasNext();)
        calls.push_back(it.next());
    for (auto m = calls.rbegin(); m != calls.rend(); ++m) {
        const qsizetype quote = m->capturedEnd() - 1;
        const qsizetype end = literalEnd(sql, quote);
        const QRegularExpressionMatch close = closing.match(masked.mid(end));
        if (!close.hasMatch())
            continue;
        const QString text = literalText(sql.mid(quote, end - quote));
        const bool date =
            m->captured(1).compare(QLatin1String("datevalue"), Qt::CaseInsensitive) == 0;
        QString iso;
        if (date) {
            if (const auto value = dateFromText(text, QLocale()))
                iso = isoDateText(*value);
        } else if (const auto value = timeFromText(text, QLocale())) {
            iso = isoTimeText(*value);
        }
        if (iso.isEmpty())
            throw JetError(
                errors::kTypeMismatch,
                QStringLiteral("Data type mismatch: cannot read \"%1\" as %2")
                    .arg(text, date ? QStringLiteral("a date") : QStringLiteral("a time of day")));
        sql.replace(m->capturedStart(), end + close.capturedLength() - m->capturedStart(),
                    m->captured(1).toLower() + QStringLiteral("('") + iso + QStringLiteral("')"));
    }
    return sql;
}

// Parenthesis depth before each position of a masked text.
std::vector<int> depths(const QString& masked)
{
    std::vector<int> out(size_t(masked.size()) + 1, 0);
    int depth = 0;
    for (qsizetype i = 0; i < masked.size(); ++i) {
        out[size_t(i)] = depth;
        if (masked[i] == QLatin1Char('('))
            ++depth;
        else if (masked[i] == QLatin1Char(')'))
            --depth;
    }
    out[size_t(masked.size())] = depth;
    return out;
}

// The first match of `re` at depth 0 from `from`, or -1.
qsizetype topLevel(const QString& masked, const std::vector<int>& depth,
                   const QRegularExpression& re, qsizetype from, qsizetype* length = nullptr)
{
    for (auto it = re.globalMatch(masked, from); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (depth[size_t(m.capturedStart())] == 0) {
            if (length)
                *length = m.capturedLength();
            return m.capturedStart();
        }
    }
    return -1;
}

// The server wants a name for a subquery in FROM.
QString withNamedSubqueries(QString sql)
{
    static const QRegularExpression from(QStringLiteral("\\bfrom\\s*\\("), kCaseless);
    static const QRegularExpression alias(
        QStringLiteral(
            "^\\s*(?!(?:where|order|group|limit|union|join|on|having)\\b)(?:as\\b|[a-z_])"),
        kCaseless);
    const QString masked = withoutLiterals(sql);
    const std::vector<int> depth = depths(masked);
    std::vector<qsizetype> inserts;
    for (auto it = from.globalMatch(masked); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const qsizetype open = m.capturedEnd() - 1;
        qsizetype close = open + 1;
        while (close < masked.size() && !(masked[close] == QLatin1Char(')') &&
                                          depth[size_t(close)] == depth[size_t(open)] + 1))
            ++close;
        if (close < masked.size() && !alias.match(masked.mid(close + 1)).hasMatch())
            inserts.push_back(close + 1);
    }
    for (auto at = inserts.rbegin(); at != inserts.rend(); ++at)
        sql.insert(*at, QStringLiteral(" AS velmora_rows"));
    return sql;
}

QString withIdentityTieBreaks(QString sql, const std::function<bool(const QString&)>& hasIdentity)
{
    static const QRegularExpression orderBy(QStringLiteral("\\border\\s+by\\b"), kCaseless);
    static const QRegularExpression from(QStringLiteral("\\bfrom\\s+\"?(\\w+)\"?"), kCaseless);
    if (!hasIdentity)
        return sql;
    const QString masked = withoutLiterals(sql);
    const std::vector<int> depth = depths(masked);
    std::vector<qsizetype> inserts;
    for (auto it = orderBy.globalMatch(masked); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const int level = depth[size_t(m.capturedStart())];
        qsizetype end = m.capturedEnd();
        while (end < masked.size() &&
               !(masked[end] == QLatin1Char(')') && depth[size_t(end)] == level) &&
               masked[end] != QLatin1Char(';'))
            ++end;
        while (end > m.capturedEnd() && masked[end - 1].isSpace())
            --end;
        QString table;
        for (auto f = from.globalMatch(masked.left(m.capturedStart())); f.hasNext();) {
            const QRegularExpressionMatch candidate = f.next();
            if (depth[size_t(candidate.capturedStart())] == level)
                table = candidate.captured(1);
        }
        if (!table.isEmpty() && hasIdentity(table))
            inserts.push_back(end);
    }
    for (auto at = inserts.rbegin(); at != inserts.rend(); ++at)
        sql.insert(*at, QStringLiteral(", ") + QLatin1String(kServerRowIdentity));
    return sql;
}

[[noreturn]] void refuseLike(const QString& sql)
{
    throw JetError(errors::kInvalidOperation,
                   QStringLiteral("Invalid operation: the diary server cannot run the like in "
                                  "\"%1\"; like terms must stand in the WHERE clause, joined "
                                  "by AND, of a query that returns rows.")
                       .arg(sql));
}

} // namespace

QString comparableStoredText(const QByteArray& utf8)
{
    return varnel::comparableText(bytesFromStorage(
        reinterpret_cast<const unsigned char*>(utf8.constData()), int(utf8.size())));
}

ServerStatement serverStatement(const QString& text, bool takeLikes,
                                const std::function<bool(const QString&)>& hasIdentity)
{
    // A literal left open would swallow the rest of the statement.
    if (text.count(QLatin1Char('\'')) % 2 != 0)
        throw JetError(
            errors::kSyntaxError,
            QStringLiteral("Syntax error in \"%1\": a quoted text is not closed.").arg(text));
    static const QRegularExpression like(QStringLiteral("\\blike\\b"), kCaseless);
    ServerStatement out;
    QString sql = withIdentityTieBreaks(withNamedSubqueries(withIsoDateValues(text)), hasIdentity);
    QString masked = withoutLiterals(sql);
    if (!like.match(masked).hasMatch()) {
        out.sql = sql;
        return out;
    }
    if (!takeLikes)
        refuseLike(text);

    static const QRegularExpression where(QStringLiteral("\\bwhere\\b"), kCaseless);
    static const QRegularExpression tail(
        QStringLiteral("\\b(?:order\\s+by|group\\s+by|limit)\\b|;"), kCaseless);
    static const QRegularExpression conjunction(QStringLiteral("\\band\\b"), kCaseless);
    static const QRegularExpression between(QStringLiteral("\\bbetween\\b"), kCaseless);
    static const QRegularExpression term(
        QStringLiteral("^\\s*\\[?(\\w+)\\]?\\s+like\\s*('(?:[^']|'')*')\\s*$"),
        kCaseless | QRegularExpression::DotMatchesEverythingOption);
    const std::vector<int> depth = depths(masked);
    qsizetype whereLength = 0;
    const qsizetype at = topLevel(masked, depth, where, 0, &whereLength);
    if (at < 0)
        refuseLike(text);
    const qsizetype bodyStart = at + whereLength;
    qsizetype bodyEnd = topLevel(masked, depth, tail, bodyStart);
    if (bodyEnd < 0)
        bodyEnd = sql.size();
    if (topLevel(masked, depth, between, bodyStart) >= 0 &&
        topLevel(masked, depth, between, bodyStart) < bodyEnd)
        refuseLike(text);

    QStringList kept;
    qsizetype start = bodyStart;
    while (start <= bodyEnd) {
        qsizetype length = 0;
        qsizetype next = topLevel(masked, depth, conjunction, start, &length);
        if (next < 0 || next > bodyEnd)
            next = bodyEnd;
        const QString part = sql.mid(start, next - start);
        const QRegularExpressionMatch m = term.match(part);
        if (m.hasMatch()) {
            const QByteArray stored = literalText(m.captured(2)).toUtf8();
            out.likes.push_back({m.captured(1), LikePattern(comparableStoredText(stored))});
        } else {
            kept << part.trimmed();
        }
        start = next + (next == bodyEnd ? 1 : length);
    }
    const QString head = sql.left(at).trimmed();
    const QString rest = sql.mid(bodyEnd).trimmed();
    out.sql = head;
    if (!kept.isEmpty())
        out.sql += QStringLiteral(" WHERE ") + kept.join(QStringLiteral(" AND "));
    if (!rest.isEmpty())
        out.sql += QLatin1Char(' ') + rest;
    if (like.match(withoutLiterals(out.sql)).hasMatch())
        refuseLike(text);
    return out;
}

} // namespace jet
