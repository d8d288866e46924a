#include "platform/jet/ConnectionText.h"

#include <algorithm>
#include <memory>

#include <libpq-fe.h>

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace jet {

namespace {

// Where a value stands in the connection text.
struct Span {
    qsizetype from;
    qsizetype length;
};

// One key = value of a connection text: the key and the value as libpq reads them (quotes,
// escapes and percent-encoding undone), and where the value is written.
struct Entry {
    QString key;
    QString value;
    Span written;
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

bool isKey(QStringView key, const char* name)
{
    return key.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

bool isPasswordKey(QStringView key)
{
    return isKey(key, "password") || isKey(key, "sslpassword");
}

// Past the URI scheme, or -1. libpq takes a text as a URI only when it starts with the scheme;
// one that merely looks like a URI (upper case, white space before it) is still read as one,
// as its user meant it.
qsizetype uriStart(QStringView text)
{
    qsizetype at = 0;
    while (at < text.size() && isSpace(text[at]))
        ++at;
    for (const QLatin1String scheme :
         {QLatin1String("postgresql://"), QLatin1String("postgres://")}) {
        if (text.mid(at).startsWith(scheme, Qt::CaseInsensitive))
            return at + scheme.size();
    }
    return -1;
}

// libpq reads a dbname holding '=' or starting with the scheme as a connection text of its own.
bool isConnectionText(QStringView value)
{
    return value.contains(u'=') || uriStart(value) >= 0;
}

// key = value pairs: a value is a run up to white space, or a quoted text; a backslash keeps
// the next character in either.
QList<Entry> keyValueEntries(const QString& text)
{
    QList<Entry> found;
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
        Entry entry{text.mid(keyFrom, at - keyFrom), {}, {}};
        skipSpace();
        if (at == end || text[at] != u'=')
            continue; // libpq refuses the text; the word gives nothing away
        ++at;
        skipSpace();
        const qsizetype valueFrom = at;
        const bool quoted = at < end && text[at] == u'\'';
        for (at += quoted ? 1 : 0; at < end && (quoted ? text[at] != u'\'' : !isSpace(text[at]));
             ++at) {
            if (text[at] == u'\\' && at + 1 < end)
                ++at;
            entry.value += text[at];
        }
        if (quoted && at < end)
            ++at; // the closing quote
        entry.written = {valueFrom, at - valueFrom};
        found.append(entry);
    }
    return found;
}

// scheme://[user[:password]@][hosts][/dbname][?key=value&...]; `at` is past the scheme. As
// libpq does, the user part is whatever comes before an @ that no / precedes.
QList<Entry> uriEntries(const QString& text, qsizetype at)
{
    QList<Entry> found;
    const auto add = [&](const char* key, qsizetype from, qsizetype to) {
        found.append({QLatin1String(key),
                      percentDecoded(QStringView(text).mid(from, to - from)),
                      {from, to - from}});
    };
    const qsizetype end = text.size();
    qsizetype credentialsEnd = at;
    while (credentialsEnd < end && text[credentialsEnd] != u'@' && text[credentialsEnd] != u'/')
        ++credentialsEnd;
    if (credentialsEnd < end && text[credentialsEnd] == u'@') {
        const qsizetype colon = text.indexOf(u':', at);
        if (colon >= 0 && colon < credentialsEnd)
            add("password", colon + 1, credentialsEnd);
        at = credentialsEnd + 1;
    }
    qsizetype query = text.indexOf(u'?', at);
    if (query < 0)
        query = end;
    const qsizetype path = text.indexOf(u'/', at);
    if (path >= 0 && path < query)
        add("dbname", path + 1, query);
    for (qsizetype from = query + 1; from < end;) {
        qsizetype to = text.indexOf(u'&', from);
        if (to < 0)
            to = end;
        const qsizetype equals = text.indexOf(u'=', from);
        if (equals >= 0 && equals < to) {
            add("", equals + 1, to);
            found.last().key = percentDecoded(QStringView(text).mid(from, equals - from));
        }
        from = to + 1;
    }
    return found;
}

QList<Entry> entries(const QString& text)
{
    const qsizetype uri = uriStart(text);
    return uri >= 0 ? uriEntries(text, uri) : keyValueEntries(text);
}

// The values that give a password away: each password's, and each dbname's that libpq would
// read as a connection text holding one.
QList<Entry> secretEntries(const QString& text)
{
    QList<Entry> found;
    for (const Entry& entry : entries(text)) {
        if (isPasswordKey(entry.key) ||
            (isKey(entry.key, "dbname") && isConnectionText(entry.value) &&
             carriesPassword(entry.value)))
            found.append(entry);
    }
    return found;
}

// libpq's own reading of the text: the password values it finds, also inside a dbname it would
// expand. Empty when libpq refuses the text (which then never reaches a server either).
QStringList libpqPasswords(const QString& text, bool* found)
{
    char* error = nullptr;
    const std::unique_ptr<PQconninfoOption, decltype(&PQconninfoFree)> options(
        PQconninfoParse(text.toUtf8().constData(), &error), &PQconninfoFree);
    PQfreemem(error);
    QStringList values;
    for (const PQconninfoOption* option = options.get(); option && option->keyword; ++option) {
        if (!option->val)
            continue;
        const QString key = QLatin1String(option->keyword);
        const QString value = QString::fromUtf8(option->val);
        if (isPasswordKey(key)) {
            *found = true;
            values << value;
        } else if (key == QLatin1String("dbname") && isConnectionText(value)) {
            values << libpqPasswords(value, found);
        }
    }
    return values;
}

// A value as libpq may quote it back: as written, as read, and percent-decoded.
QStringList spellings(const QString& text, const Entry& entry)
{
    const QStringView written = QStringView(text).mid(entry.written.from, entry.written.length);
    return {written.toString(), entry.value, percentDecoded(written)};
}

QStringList secrets(const QString& text)
{
    QStringList found;
    for (const Entry& entry : secretEntries(text)) {
        found << spellings(text, entry);
        if (!isPasswordKey(entry.key))
            found << secrets(entry.value); // a dbname's own passwords, as a message may quote it
    }
    bool any = false;
    found << libpqPasswords(text, &any);
    return found;
}

} // namespace

bool carriesPassword(const QString& connection)
{
    bool found = false;
    libpqPasswords(connection, &found);
    return found || !secretEntries(connection).isEmpty();
}

QString maskedConnection(const QString& connection)
{
    const QList<Entry> found = secretEntries(connection);
    if (found.isEmpty() && carriesPassword(connection))
        return QStringLiteral("***"); // libpq reads a password where this reading sees none
    QString masked = connection;
    for (auto entry = found.crbegin(); entry != found.crend(); ++entry)
        masked.replace(entry->written.from, entry->written.length, QStringLiteral("***"));
    return masked;
}

QString maskedMessage(const QString& message, const QString& connection)
{
    QStringList hidden = secrets(connection);
    hidden.removeAll(QString());
    // The longest first, so no part of a longer spelling is left over.
    std::sort(hidden.begin(), hidden.end(),
              [](const QString& a, const QString& b) { return a.size() > b.size(); });
    QString masked = message;
    for (const QString& secret : hidden)
        masked.replace(secret, QStringLiteral("***"));
    return masked;
}

} // namespace jet
