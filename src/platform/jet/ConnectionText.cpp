#include "platform/jet/ConnectionText.h"

#include <algorithm>

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace jet {

namespace {

// Where a password's value stands in the connection text.
struct Span {
    qsizetype from;
    qsizetype length;
};

// libpq splits on the C locale's white space.
bool isSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f' || c == u'\v';
}

QString percentDecoded(QStringView text)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(text.toUtf8()));
}

bool isPasswordKey(QStringView key)
{
    return key.compare(QLatin1String("password"), Qt::CaseInsensitive) == 0 ||
           key.compare(QLatin1String("sslpassword"), Qt::CaseInsensitive) == 0;
}

// key = value pairs: a value is a run up to white space, or a quoted text; a backslash keeps
// the next character in either.
QList<Span> keyValuePasswords(const QString& text)
{
    QList<Span> found;
    const qsizetype end = text.size();
    qsizetype at = 0;
    const auto skipSpace = [&] {
        while (at < end && isSpace(text[at]))
            ++at;
    };
    while (skipSpace(), at < end) {
        const qsizetype keyFrom = at;
        while (at < end && text[at] != u'=' && !isSpace(text[at]))
            ++at;
        const QStringView key = QStringView(text).mid(keyFrom, at - keyFrom);
        skipSpace();
        if (at == end || text[at] != u'=')
            continue; // libpq refuses the text; the word gives nothing away
        ++at;
        skipSpace();
        const qsizetype valueFrom = at;
        if (at < end && text[at] == u'\'') {
            for (++at; at < end && text[at] != u'\''; ++at) {
                if (text[at] == u'\\')
                    ++at;
            }
            ++at; // the closing quote
        } else {
            for (; at < end && !isSpace(text[at]); ++at) {
                if (text[at] == u'\\')
                    ++at;
            }
        }
        at = std::min(at, end);
        if (isPasswordKey(key))
            found.append({valueFrom, at - valueFrom});
    }
    return found;
}

// scheme://[user[:password]@][hosts][/dbname][?key=value&...]; `at` is past the scheme. As
// libpq does, the user part is whatever comes before an @ that no / precedes.
QList<Span> uriPasswords(const QString& text, qsizetype at)
{
    QList<Span> found;
    const qsizetype end = text.size();
    qsizetype credentialsEnd = at;
    while (credentialsEnd < end && text[credentialsEnd] != u'@' && text[credentialsEnd] != u'/')
        ++credentialsEnd;
    if (credentialsEnd < end && text[credentialsEnd] == u'@') {
        const qsizetype colon = text.indexOf(u':', at);
        if (colon >= 0 && colon < credentialsEnd)
            found.append({colon + 1, credentialsEnd - colon - 1});
        at = credentialsEnd + 1;
    }
    const qsizetype query = text.indexOf(u'?', at);
    if (query < 0)
        return found;
    for (qsizetype from = query + 1; from <= end;) {
        qsizetype to = text.indexOf(u'&', from);
        if (to < 0)
            to = end;
        const qsizetype equals = text.indexOf(u'=', from);
        if (equals >= 0 && equals < to &&
            isPasswordKey(percentDecoded(QStringView(text).mid(from, equals - from))))
            found.append({equals + 1, to - equals - 1});
        from = to + 1;
    }
    return found;
}

// libpq takes a text as a URI only when it starts with the scheme; one that merely looks like
// a URI (upper case, white space before it) is still read as one, as its user meant it.
QList<Span> passwords(const QString& text)
{
    qsizetype at = 0;
    while (at < text.size() && isSpace(text[at]))
        ++at;
    for (const QLatin1String scheme :
         {QLatin1String("postgresql://"), QLatin1String("postgres://")}) {
        if (QStringView(text).mid(at).startsWith(scheme, Qt::CaseInsensitive))
            return uriPasswords(text, at + scheme.size());
    }
    return keyValuePasswords(text);
}

// A value as libpq may quote it back: as written, without its quotes and escapes, and
// percent-decoded.
QStringList spellings(QStringView written)
{
    QString unquoted;
    for (qsizetype i = 0; i < written.size(); ++i) {
        if (written[i] == u'\\' && i + 1 < written.size())
            unquoted += written[++i];
        else if (written[i] != u'\'')
            unquoted += written[i];
    }
    QStringList forms{written.toString(), unquoted, percentDecoded(written)};
    forms.removeAll(QString());
    return forms;
}

} // namespace

bool carriesPassword(const QString& connection)
{
    return !passwords(connection).isEmpty();
}

QString maskedConnection(const QString& connection)
{
    QString masked = connection;
    const QList<Span> found = passwords(connection);
    for (auto span = found.crbegin(); span != found.crend(); ++span)
        masked.replace(span->from, span->length, QStringLiteral("***"));
    return masked;
}

QString maskedMessage(const QString& message, const QString& connection)
{
    QStringList secrets;
    for (const Span& span : passwords(connection))
        secrets += spellings(QStringView(connection).mid(span.from, span.length));
    // The longest first, so no part of a longer spelling is left over.
    std::sort(secrets.begin(), secrets.end(),
              [](const QString& a, const QString& b) { return a.size() > b.size(); });
    QString masked = message;
    for (const QString& secret : secrets)
        masked.replace(secret, QStringLiteral("***"));
    return masked;
}

} // namespace jet
