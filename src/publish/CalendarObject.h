#pragma once

#include <optional>

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVariantList>

#include "data/Register.h"

typedef struct _icaltimezone icaltimezone;

namespace publish {

// One record as a calendar object resource: a VCALENDAR holding the zone's VTIMEZONE and one
// VEVENT whose UID is the one the iCalendar export gives the record (exports::eventUid). It holds
// nothing a renumbering changes (no serial number), so deleting a record changes one object.
struct CalendarObject {
    QString uid;
    QByteArray text; // without DTSTAMP, so the same record gives the same bytes
    QByteArray hash; // of `text`: what the sync state remembers as sent
};

// Builds the objects of one diary in one time zone (an IANA name, see publishTimeZone).
class CalendarObjectBuilder {
public:
    CalendarObjectBuilder(const QString& diaryId, const QByteArray& zone);
    // The record's object; none for a record without a readable date (the export leaves it out
    // too).
    std::optional<CalendarObject> object(data::Register which, qint64 identity,
                                         const QVariantList& values) const;

private:
    QString m_diaryId;
    QByteArray m_zone;
    icaltimezone* m_timezone = nullptr; // libical's own, never freed
};

// The object's text as it is sent: DTSTAMP (required in a VEVENT) set to `stamp`.
QByteArray stampedText(const CalendarObject& object,
                       const QDateTime& stamp = QDateTime::currentDateTimeUtc());

// The zone the diary's times are in: the system's (TZ, else /etc/localtime) when libical knows
// it, else Asia/Kolkata.
QByteArray publishTimeZone();

} // namespace publish
