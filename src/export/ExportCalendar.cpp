#include "export/ExportCalendar.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

#include <QDate>
#include <QHash>
#include <QStringList>
#include <QTime>

#include "platform/varnel/VarnelCodec.h"
#include "registers/RegisterTexts.h"

namespace exports {

namespace {

// Content lines are folded at 75 octets, never inside a UTF-8 sequence.
constexpr int kLineOctets = 75;

void appendFolded(QByteArray& out, const QByteArray& line)
{
    qsizetype at = 0;
    int room = kLineOctets;
    while (line.size() - at > room) {
        qsizetype cut = at + room;
        while (cut > at && (uchar(line[cut]) & 0xC0) == 0x80)
            --cut;
        out.append(line.constData() + at, cut - at).append("\r\n ");
        at = cut;
        room = kLineOctets - 1; // the leading blank counts
    }
    out.append(line.constData() + at, line.size() - at).append("\r\n");
}

// Backslash, semicolon and comma escaped, each line break (CRLF, CR or LF) as "\n"; one pass.
QString escaped(const QString& text)
{
    const auto special = [](QChar c) {
        const char16_t u = c.unicode();
        return u == u'\\' || u == u';' || u == u',' || u == u'\r' || u == u'\n';
    };
    qsizetype next = std::find_if(text.begin(), text.end(), special) - text.begin();
    if (next == text.size())
        return text;
    QString out;
    out.reserve(text.size() + 8);
    qsizetype from = 0;
    for (; next < text.size(); ++next) {
        const char16_t c = text[next].unicode();
        if (!special(c))
            continue;
        out.append(QStringView(text).mid(from, next - from));
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && next + 1 < text.size() && text[next + 1] == u'\n')
                ++next;
            out += QLatin1String("\\n");
        } else {
            out += QLatin1Char('\\');
            out += QChar(c);
        }
        from = next + 1;
    }
    return out.append(QStringView(text).mid(from));
}

QString kannada(const QVariant& value)
{
    return varnel::decode(value.toByteArray()).trimmed();
}

// A caption as a label: the documented texts carry runs of blanks ("contact  person").
QString label(const QByteArray& varnel)
{
    // Decoded once: every event names the same few.
    static QHash<QByteArray, QString> decoded;
    auto it = decoded.constFind(varnel);
    if (it == decoded.constEnd())
        it = decoded.insert(varnel, varnel::decode(varnel).simplified());
    return *it;
}

// "yyyyMMdd" and "HHmmss", written straight in: an export writes them for every record.
QByteArray digits(std::initializer_list<std::pair<int, int>> parts)
{
    QByteArray text;
    for (auto [value, count] : parts) {
        const qsizetype at = text.size();
        text.resize(at + count);
        for (int i = count - 1; i >= 0; --i, value /= 10)
            text[at + i] = char('0' + value % 10);
    }
    return text;
}

QByteArray dateText(const QDate& date)
{
    if (date.year() < 1 || date.year() > 9999)
        return date.toString(QStringLiteral("yyyyMMdd")).toLatin1();
    return digits({{date.year(), 4}, {date.month(), 2}, {date.day(), 2}});
}

class Calendar {
public:
    void property(const char* name, const QString& value)
    {
        appendFolded(m_text, QByteArray(name) + ':' + value.toUtf8());
    }
    void text(const char* name, const QString& value)
    {
        if (!value.isEmpty())
            property(name, escaped(value));
    }
    // A date-time in floating local time, or the day alone when the time is not known.
    void when(const char* name, const QDate& date, const QTime& time)
    {
        if (time.isValid())
            appendFolded(m_text,
                         QByteArray(name) + ':' + dateText(date) + 'T' +
                             digits({{time.hour(), 2}, {time.minute(), 2}, {time.second(), 2}}));
        else
            appendFolded(m_text, QByteArray(name) + ";VALUE=DATE:" + dateText(date));
    }
    QByteArray m_text;
};

// "label: value" lines for the details that have a value.
QString details(const QList<std::pair<QByteArray, QVariant>>& fields)
{
    QStringList lines;
    for (const auto& [name, value] : fields) {
        const QString text = kannada(value);
        if (!text.isEmpty())
            lines << label(name) + QStringLiteral(": ") + text;
    }
    return lines.join(QLatin1Char('\n'));
}

QString joined(const QStringList& parts, const QString& separator)
{
    QStringList present;
    for (const QString& part : parts) {
        if (!part.isEmpty())
            present << part;
    }
    return present.join(separator);
}

void programmeEvent(Calendar& out, const QVariantList& v)
{
    namespace texts = registers::texts;
    out.when("DTSTART", v.value(1).toDate(), v.value(3).toTime());
    out.text("SUMMARY", kannada(v.value(4)));
    out.text("LOCATION", joined({kannada(v.value(5)), kannada(v.value(6))}, QStringLiteral(", ")));
    out.text("DESCRIPTION", details({{texts::telephone, v.value(7)},
                                     {texts::contactLocal, v.value(8)},
                                     {texts::others, v.value(9)}}));
}

void tourEvent(Calendar& out, const QVariantList& v)
{
    namespace texts = registers::texts;
    const QDate departure = v.value(3).toDate();
    const QTime departureTime = v.value(5).toTime();
    const QDate arrival = v.value(6).toDate();
    const QTime arrivalTime = v.value(8).toTime();
    out.when("DTSTART", departure, departureTime);
    // An arrival recorded before the departure is left out rather than make an invalid event;
    // a day-long event ends on the morning after its last day.
    if (arrival.isValid() && departureTime.isValid() && arrivalTime.isValid()) {
        if (QDateTime(arrival, arrivalTime) > QDateTime(departure, departureTime))
            out.when("DTEND", arrival, arrivalTime);
    } else if (arrival.isValid() && !departureTime.isValid() && arrival >= departure) {
        out.when("DTEND", arrival.addDays(1), QTime());
    }
    out.text("SUMMARY", joined({kannada(v.value(1)), kannada(v.value(2))}, QStringLiteral(" - ")));
    out.text("LOCATION", kannada(v.value(2)));
    out.text("DESCRIPTION",
             details({{texts::travelType, v.value(9)}, {texts::others, v.value(10)}}));
}

} // namespace

QString eventUid(ExportRegister which, qint64 identity, const QString& diaryId)
{
    return QStringLiteral("velmora-%1-%2-%3").arg(diaryId, tableName(which)).arg(identity);
}

CalendarWriter::CalendarWriter(ExportRegister which, const QString& diaryId, const QDateTime& stamp)
    : m_which(which), m_diaryId(diaryId),
      m_stamp(stamp.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")))
{
}

QByteArray CalendarWriter::start() const
{
    Calendar out;
    out.property("BEGIN", QStringLiteral("VCALENDAR"));
    out.property("VERSION", QStringLiteral("2.0"));
    out.property("PRODID", QStringLiteral("-//Velmora//Velmora diary//KN"));
    out.property("CALSCALE", QStringLiteral("GREGORIAN"));
    out.property("METHOD", QStringLiteral("PUBLISH"));
    return out.m_text;
}

QByteArray CalendarWriter::event(qint64 identity, const QVariantList& values) const
{
    const int dateOrdinal = m_which == ExportRegister::Tour ? 3 : 1;
    // A record without a readable date has no place in a calendar.
    if (!values.value(dateOrdinal).toDate().isValid())
        return {};
    Calendar out;
    out.property("BEGIN", QStringLiteral("VEVENT"));
    out.property("UID", eventUid(m_which, identity, m_diaryId));
    out.property("DTSTAMP", m_stamp);
    if (m_which == ExportRegister::Tour)
        tourEvent(out, values);
    else
        programmeEvent(out, values);
    out.property("END", QStringLiteral("VEVENT"));
    return out.m_text;
}

QByteArray CalendarWriter::end() const
{
    Calendar out;
    out.property("END", QStringLiteral("VCALENDAR"));
    return out.m_text;
}

QByteArray exportCalendar(ExportRegister which, const QList<ExportRecord>& records,
                          const QString& diaryId, const QDateTime& stamp)
{
    const CalendarWriter writer(which, diaryId, stamp);
    QByteArray text = writer.start();
    for (const ExportRecord& record : records)
        text += writer.event(record.identity, record.values);
    return text + writer.end();
}

} // namespace exports
