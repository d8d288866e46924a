#include "export/ExportCalendar.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

#include <QDate>
#include <QHash>
#include <QTime>

#include "data/Utf8Text.h"
#include "platform/varnel/VarnelCodec.h"
#include "registers/RegisterTexts.h"

namespace exports {

namespace {

// Content lines are folded at 75 octets, never inside a UTF-8 sequence.
constexpr int kLineOctets = 75;

void appendFolded(QByteArray& out, QByteArrayView line)
{
    qsizetype at = 0;
    int room = kLineOctets;
    while (line.size() - at > room) {
        qsizetype cut = at + room;
        while (cut > at && (uchar(line[cut]) & 0xC0) == 0x80)
            --cut;
        out.append(line.data() + at, cut - at).append("\r\n ");
        at = cut;
        room = kLineOctets - 1; // the leading blank counts
    }
    out.append(line.data() + at, line.size() - at).append("\r\n");
}

// `text` appended as UTF-8 with backslash, semicolon and comma escaped and each line break
// (CRLF, CR or LF) as "\n"; the runs between them go straight in.
void appendText(QByteArray& out, QStringView text)
{
    const auto needsEscape = [](char16_t c) {
        return c == u'\\' || c == u';' || c == u',' || c == u'\r' || c == u'\n';
    };
    qsizetype from = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (!needsEscape(c))
            continue;
        data::appendUtf8(out, text.mid(from, i - from));
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            out += "\\n";
        } else {
            out += '\\';
            out += char(c);
        }
        from = i + 1;
    }
    data::appendUtf8(out, text.mid(from));
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
void appendDigits(QByteArray& text, std::initializer_list<std::pair<int, int>> parts)
{
    for (auto [value, count] : parts) {
        const qsizetype at = text.size();
        text.resize(at + count);
        for (int i = count - 1; i >= 0; --i, value /= 10)
            text[at + i] = char('0' + value % 10);
    }
}

void appendDate(QByteArray& text, const QDate& date)
{
    if (date.year() < 1 || date.year() > 9999)
        text += date.toString(QStringLiteral("yyyyMMdd")).toLatin1();
    else
        appendDigits(text, {{date.year(), 4}, {date.month(), 2}, {date.day(), 2}});
}

// Writes content lines into `out`; each line is put together in `line` (reused from line to
// line) and folded as it goes in.
class Calendar {
public:
    Calendar(QByteArray& out, QByteArray& line) : m_out(out), m_line(line) {}

    void property(const char* name, QByteArrayView value)
    {
        begin(name).append(':').append(value);
        end();
    }
    // A text property of the parts that have a value, joined by `separator` (written as it
    // stands); nothing when none has.
    void text(const char* name, std::initializer_list<QString> parts,
              const char* separator = nullptr)
    {
        bool any = false;
        for (const QString& part : parts) {
            if (part.isEmpty())
                continue;
            if (!any)
                begin(name).append(':');
            else
                m_line.append(separator);
            appendText(m_line, part);
            any = true;
        }
        if (any)
            end();
    }
    // "label: value" lines for the details that have a value.
    struct Detail {
        const QByteArray& caption;
        const QVariant& value;
    };
    void details(const char* name, std::initializer_list<Detail> fields)
    {
        bool any = false;
        for (const auto& [caption, value] : fields) {
            const QString text = kannada(value);
            if (text.isEmpty())
                continue;
            if (!any)
                begin(name).append(':');
            else
                m_line.append("\\n");
            appendText(m_line, label(caption));
            m_line.append(": ");
            appendText(m_line, text);
            any = true;
        }
        if (any)
            end();
    }
    // A date-time in floating local time, or the day alone when the time is not known.
    void when(const char* name, const QDate& date, const QTime& time)
    {
        begin(name).append(time.isValid() ? ":" : ";VALUE=DATE:");
        appendDate(m_line, date);
        if (time.isValid()) {
            m_line.append('T');
            appendDigits(m_line, {{time.hour(), 2}, {time.minute(), 2}, {time.second(), 2}});
        }
        end();
    }

private:
    QByteArray& begin(const char* name)
    {
        m_line.truncate(0);
        return m_line.append(name);
    }
    void end() { appendFolded(m_out, m_line); }

    QByteArray& m_out;
    QByteArray& m_line;
};

void programmeEvent(Calendar& out, const data::Record& r)
{
    namespace texts = registers::texts;
    out.when("DTSTART", r.value(1).toDate(), r.value(3).toTime());
    out.text("SUMMARY", {kannada(r.value(4))});
    out.text("LOCATION", {kannada(r.value(5)), kannada(r.value(6))}, "\\, ");
    out.details("DESCRIPTION", {{texts::telephone, r.value(7)},
                                {texts::contactLocal, r.value(8)},
                                {texts::others, r.value(9)}});
}

void tourEvent(Calendar& out, const data::Record& r)
{
    namespace texts = registers::texts;
    const QDate departure = r.value(3).toDate();
    const QTime departureTime = r.value(5).toTime();
    const QDate arrival = r.value(6).toDate();
    const QTime arrivalTime = r.value(8).toTime();
    out.when("DTSTART", departure, departureTime);
    // An arrival recorded before the departure is left out rather than make an invalid event;
    // a day-long event ends on the morning after its last day.
    if (arrival.isValid() && departureTime.isValid() && arrivalTime.isValid()) {
        if (QDateTime(arrival, arrivalTime) > QDateTime(departure, departureTime))
            out.when("DTEND", arrival, arrivalTime);
    } else if (arrival.isValid() && !departureTime.isValid() && arrival >= departure) {
        out.when("DTEND", arrival.addDays(1), QTime());
    }
    const QString from = kannada(r.value(1));
    const QString to = kannada(r.value(2));
    out.text("SUMMARY", {from, to}, " - ");
    out.text("LOCATION", {to});
    out.details("DESCRIPTION", {{texts::travelType, r.value(9)}, {texts::others, r.value(10)}});
}

} // namespace

namespace {

QString uidPrefix(data::Register which, const QString& diaryId)
{
    return QStringLiteral("velmora-%1-%2-").arg(diaryId, data::tableName(which));
}

} // namespace

QString eventUid(data::Register which, qint64 identity, const QString& diaryId)
{
    return uidPrefix(which, diaryId) + QString::number(identity);
}

CalendarWriter::CalendarWriter(data::Register which, const QString& diaryId, const QDateTime& stamp)
    : m_which(which), m_uidPrefix(uidPrefix(which, diaryId).toUtf8()),
      m_stamp(stamp.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")).toLatin1())
{
}

QByteArray CalendarWriter::start() const
{
    QByteArray text;
    Calendar out(text, m_line);
    out.property("BEGIN", "VCALENDAR");
    out.property("VERSION", "2.0");
    out.property("PRODID", "-//Velmora//Velmora diary//KN");
    out.property("CALSCALE", "GREGORIAN");
    out.property("METHOD", "PUBLISH");
    return text;
}

void CalendarWriter::appendEvent(QByteArray& text, const data::Record& record) const
{
    const int dateOrdinal = m_which == data::Register::Tour ? 3 : 1;
    // A record without a readable date has no place in a calendar.
    if (!record.value(dateOrdinal).toDate().isValid())
        return;
    Calendar out(text, m_line);
    out.property("BEGIN", "VEVENT");
    out.property("UID", m_uidPrefix + QByteArray::number(record.key));
    out.property("DTSTAMP", m_stamp);
    if (m_which == data::Register::Tour)
        tourEvent(out, record);
    else
        programmeEvent(out, record);
    out.property("END", "VEVENT");
}

QByteArray CalendarWriter::event(const data::Record& record) const
{
    QByteArray text;
    appendEvent(text, record);
    return text;
}

QByteArray CalendarWriter::end() const
{
    QByteArray text;
    Calendar(text, m_line).property("END", "VCALENDAR");
    return text;
}

QByteArray exportCalendar(data::Register which, const QList<data::Record>& records,
                          const QString& diaryId, const QDateTime& stamp)
{
    const CalendarWriter writer(which, diaryId, stamp);
    QByteArray text = writer.start();
    for (const data::Record& record : records)
        writer.appendEvent(text, record);
    return text + writer.end();
}

} // namespace exports
