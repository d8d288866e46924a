#include "publish/CalendarObject.h"

#include <memory>

#include <libical/ical.h>

#include <QCryptographicHash>
#include <QDate>
#include <QHash>
#include <QTime>
#include <QTimeZone>

#include "export/ExportCalendar.h"
#include "platform/varnel/VarnelCodec.h"
#include "registers/RegisterTexts.h"

namespace publish {

namespace {

constexpr char kDefaultZone[] = "Asia/Kolkata";

using Component = std::unique_ptr<icalcomponent, decltype(&icalcomponent_free)>;

QString kannada(const QVariant& value)
{
    return varnel::decode(value.toByteArray()).trimmed();
}

// A caption as a label: the documented texts carry runs of blanks.
QString label(const QByteArray& varnel)
{
    return varnel::decode(varnel).simplified();
}

const QVariant& cell(const QVariantList& values, qsizetype ordinal)
{
    static const QVariant none;
    return ordinal < values.size() ? values[ordinal] : none;
}

QString joined(const QStringList& parts, const QString& separator)
{
    QStringList given;
    for (const QString& part : parts)
        if (!part.isEmpty())
            given << part;
    return given.join(separator);
}

// "label: value" lines of the details that have a value.
QString details(std::initializer_list<std::pair<const QByteArray&, const QVariant&>> fields)
{
    QStringList lines;
    for (const auto& [caption, value] : fields) {
        const QString text = kannada(value);
        if (!text.isEmpty())
            lines << label(caption) + QStringLiteral(": ") + text;
    }
    return lines.join(QLatin1Char('\n'));
}

class Event {
public:
    Event(icalcomponent* event, const QByteArray& zone) : m_event(event), m_zone(zone) {}

    void text(icalproperty* (*make)(const char*), const QString& value)
    {
        if (!value.isEmpty())
            icalcomponent_add_property(m_event, make(value.toUtf8().constData()));
    }
    // The time in the diary's zone, or the day alone when the time is not known.
    void when(icalproperty* (*make)(struct icaltimetype), const QDate& date, const QTime& time)
    {
        icaltimetype at = time.isValid() ? icaltime_null_time() : icaltime_null_date();
        at.year = date.year();
        at.month = date.month();
        at.day = date.day();
        if (time.isValid()) {
            at.hour = time.hour();
            at.minute = time.minute();
            at.second = time.second();
        }
        icalproperty* property = make(at);
        if (time.isValid() && !m_zone.isEmpty())
            icalproperty_add_parameter(property, icalparameter_new_tzid(m_zone.constData()));
        icalcomponent_add_property(m_event, property);
    }

private:
    icalcomponent* m_event;
    const QByteArray& m_zone;
};

void programmeEvent(Event& out, const QVariantList& v)
{
    namespace texts = registers::texts;
    out.when(icalproperty_new_dtstart, cell(v, 1).toDate(), cell(v, 3).toTime());
    out.text(icalproperty_new_summary, kannada(cell(v, 4)));
    out.text(icalproperty_new_location,
             joined({kannada(cell(v, 5)), kannada(cell(v, 6))}, QStringLiteral(", ")));
    out.text(icalproperty_new_description, details({{texts::telephone, cell(v, 7)},
                                                    {texts::contactLocal, cell(v, 8)},
                                                    {texts::others, cell(v, 9)}}));
}

// As the export has it: departure to arrival; an arrival before the departure is left out, and
// a journey of whole days ends on the morning after its last day.
void tourEvent(Event& out, const QVariantList& v)
{
    namespace texts = registers::texts;
    const QDate departure = cell(v, 3).toDate();
    const QTime departureTime = cell(v, 5).toTime();
    const QDate arrival = cell(v, 6).toDate();
    const QTime arrivalTime = cell(v, 8).toTime();
    out.when(icalproperty_new_dtstart, departure, departureTime);
    if (arrival.isValid() && departureTime.isValid() && arrivalTime.isValid()) {
        if (QDateTime(arrival, arrivalTime) > QDateTime(departure, departureTime))
            out.when(icalproperty_new_dtend, arrival, arrivalTime);
    } else if (arrival.isValid() && !departureTime.isValid() && arrival >= departure) {
        out.when(icalproperty_new_dtend, arrival.addDays(1), QTime());
    }
    const QString to = kannada(cell(v, 2));
    out.text(icalproperty_new_summary, joined({kannada(cell(v, 1)), to}, QStringLiteral(" - ")));
    out.text(icalproperty_new_location, to);
    out.text(icalproperty_new_description,
             details({{texts::travelType, cell(v, 9)}, {texts::others, cell(v, 10)}}));
}

} // namespace

CalendarObjectBuilder::CalendarObjectBuilder(const QString& diaryId, const QByteArray& zone)
    : m_diaryId(diaryId), m_zone(zone),
      m_timezone(icaltimezone_get_builtin_timezone(zone.constData()))
{
    // A zone libical cannot describe: floating times, as the export writes them.
    if (!m_timezone || !icaltimezone_get_component(m_timezone))
        m_zone.clear();
}

std::optional<CalendarObject> CalendarObjectBuilder::object(data::Register which, qint64 identity,
                                                            const QVariantList& values) const
{
    const bool tour = which == data::Register::Tour;
    if (!cell(values, tour ? 3 : 1).toDate().isValid())
        return std::nullopt;
    CalendarObject made;
    made.uid = exports::eventUid(which, identity, m_diaryId);

    Component calendar(icalcomponent_new_vcalendar(), icalcomponent_free);
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(),
                               icalproperty_new_prodid("-//Velmora//Velmora diary//KN"));
    if (!m_zone.isEmpty()) {
        // libical names its zones with a prefix of its own; clients look zones up by the plain
        // IANA name.
        icalcomponent* zone = icalcomponent_new_clone(icaltimezone_get_component(m_timezone));
        icalproperty_set_tzid(icalcomponent_get_first_property(zone, ICAL_TZID_PROPERTY),
                              m_zone.constData());
        icalcomponent_add_component(calendar.get(), zone);
    }
    icalcomponent* event = icalcomponent_new_vevent();
    icalcomponent_add_component(calendar.get(), event);
    icalcomponent_add_property(event, icalproperty_new_uid(made.uid.toUtf8().constData()));
    Event out(event, m_zone);
    if (tour)
        tourEvent(out, values);
    else
        programmeEvent(out, values);
    out.text(icalproperty_new_categories, data::registerCaption(which));

    char* text = icalcomponent_as_ical_string_r(calendar.get());
    made.text = QByteArray(text);
    icalmemory_free_buffer(text);
    made.hash = QCryptographicHash::hash(made.text, QCryptographicHash::Sha256).toHex();
    return made;
}

QByteArray stampedText(const CalendarObject& object, const QDateTime& stamp)
{
    static const QByteArray begin = QByteArrayLiteral("BEGIN:VEVENT\r\n");
    QByteArray text = object.text;
    const qsizetype at = text.indexOf(begin);
    if (at >= 0)
        text.insert(
            at + begin.size(),
            "DTSTAMP:" + stamp.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")).toLatin1() +
                "\r\n");
    return text;
}

QByteArray publishTimeZone()
{
    QByteArray zone = QTimeZone::systemTimeZoneId();
    if (zone.startsWith(':'))
        zone.remove(0, 1);
    if (zone == "UTC")
        zone = "Etc/UTC"; // libical's UTC has no VTIMEZONE to send
    icaltimezone* known = zone.isEmpty() ? nullptr : icaltimezone_get_builtin_timezone(zone);
    return known && icaltimezone_get_component(known) ? zone : QByteArray(kDefaultZone);
}

} // namespace publish
