#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QTime>

#include "engagements/ClashRule.h"
#include "engagements/DiaryEntry.h"

namespace jet {
class Database;
}

// The week at a glance: the engagements of a range of days from the three registers, day by
// day in time order.
namespace agenda {

enum class LineKind {
    Programme, // a local or outstation programme at its time
    Departure, // a tour's departure day, at the departure time
    OnTour,    // a day between departure and arrival: no time
    Arrival,   // a tour's arrival day, at the arrival time
    WholeTour, // a tour that leaves and arrives on one day, or whose stored arrival comes
               // before its departure: once, on its departure day at the departure time
};

struct AgendaLine {
    QDate date;
    QTime time; // invalid for a day on tour
    LineKind kind = LineKind::Programme;
    engagements::Entry entry;
    // The clashes that mark this line, as positions in Agenda::clashes: a programme's own, a
    // tour's with the programmes of this line's day.
    QList<int> clashes;

    // What the line says (Unicode Kannada): a programme's topic and venue, a tour's word for
    // the day and its places.
    QString text() const;
};

struct AgendaDay {
    QDate date;
    QByteArray dayName; // the Varnel weekday
    // Days on tour first, then by time, register (local, outstation, tour) and serial number.
    QList<AgendaLine> lines;
};

struct Agenda {
    // Every day of the range, those without engagements too.
    QList<AgendaDay> days;
    // The clashes of the programmes shown (with each other and with the tours), in the rule's
    // order.
    QList<engagements::Clash> clashes;
};

// The days from `from` for `days` days with the lines of `programmes` and `tours` that fall on
// them; entries outside the range are left out.
Agenda buildAgenda(const QDate& from, int days, const QList<engagements::Entry>& programmes,
                   const QList<engagements::Entry>& tours, int withinMinutes);

// The same from the diary: both programme registers and the tours under way in the range.
Agenda readAgenda(jet::Database& database, const QDate& from, int days,
                  int withinMinutes = engagements::clashMinutes());

} // namespace agenda
