#include "agenda/Agenda.h"

#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

#include "agenda/AgendaTexts.h"
#include "data/DayName.h"
#include "engagements/EntryReader.h"
#include "platform/varnel/VarnelCodec.h"

namespace agenda {

namespace {

using RecordId = std::pair<int, std::int64_t>;

RecordId idOf(const engagements::Entry& entry)
{
    return {int(entry.which), entry.key};
}

// Appends the tour's lines on the days of [first, last].
void addTourLines(const engagements::Entry& tour, const QDate& first, const QDate& last,
                  QList<AgendaLine>& lines)
{
    const auto add = [&](const QDate& date, const QTime& time, LineKind kind) {
        if (date >= first && date <= last)
            lines.append({date, time, kind, tour, {}});
    };
    // An arrival stored before the departure is on the departure's day or before it.
    if (tour.endDate <= tour.date) {
        add(tour.date, tour.time, LineKind::WholeTour);
        return;
    }
    add(tour.date, tour.time, LineKind::Departure);
    for (QDate day = std::max(tour.date.addDays(1), first); day < tour.endDate && day <= last;
         day = day.addDays(1))
        add(day, {}, LineKind::OnTour);
    add(tour.endDate, tour.endTime, LineKind::Arrival);
}

auto lineOrder(const AgendaLine& line)
{
    // A day on tour (no time) comes before the day's first hour.
    const std::int64_t at = line.time.isValid() ? 1 + line.time.msecsSinceStartOfDay() : 0;
    return std::tuple(line.date.toJulianDay(), at, line.entry.which, line.entry.serial);
}

using LineOrder = decltype(lineOrder(std::declval<AgendaLine>()));

} // namespace

QString AgendaLine::text() const
{
    const QString subject = varnel::decode(entry.subject);
    const QString place = varnel::decode(entry.place);
    if (kind == LineKind::Programme)
        return place.isEmpty() ? subject : subject + QStringLiteral(", ") + place;
    return texts::tourDayWord(kind) + QStringLiteral(": ") + subject + QStringLiteral(" - ") +
           place;
}

Agenda buildAgenda(const QDate& from, int days, const QList<engagements::Entry>& programmes,
                   const QList<engagements::Entry>& tours, int withinMinutes)
{
    const QDate last = from.addDays(std::max(days, 1) - 1);
    QList<AgendaLine> lines;
    lines.reserve(programmes.size() + 2 * tours.size());
    QList<engagements::Entry> shown;
    shown.reserve(programmes.size());
    for (const engagements::Entry& programme : programmes) {
        if (programme.date >= from && programme.date <= last) {
            lines.append({programme.date, programme.time, LineKind::Programme, programme, {}});
            shown.append(programme);
        }
    }
    for (const engagements::Entry& tour : tours)
        addTourLines(tour, from, last, lines);

    Agenda agenda;
    agenda.clashes = engagements::findClashes(shown, tours, withinMinutes);
    if (!agenda.clashes.isEmpty()) {
        // The lines of each record, looked up by its identity.
        std::vector<std::pair<RecordId, qsizetype>> linesOf;
        linesOf.reserve(size_t(lines.size()));
        for (qsizetype i = 0; i < lines.size(); ++i)
            linesOf.emplace_back(idOf(lines[i].entry), i);
        std::sort(linesOf.begin(), linesOf.end());
        for (int c = 0; c < agenda.clashes.size(); ++c) {
            const engagements::Clash& clash = agenda.clashes[c];
            for (const engagements::Entry* side : {&clash.first, &clash.second}) {
                const RecordId id = idOf(*side);
                for (auto it = std::lower_bound(linesOf.begin(), linesOf.end(),
                                                std::pair(id, qsizetype(0)));
                     it != linesOf.end() && it->first == id; ++it) {
                    AgendaLine& line = lines[it->second];
                    // A tour is marked on the days that hold a programme it clashes with.
                    if (line.kind == LineKind::Programme || clash.second.date == line.date)
                        line.clashes.append(c);
                }
            }
        }
    }

    // Lines are moved into their days in order, once each.
    std::vector<std::pair<LineOrder, qsizetype>> order;
    order.reserve(size_t(lines.size()));
    for (qsizetype i = 0; i < lines.size(); ++i)
        order.emplace_back(lineOrder(lines[i]), i);
    std::sort(order.begin(), order.end());
    agenda.days.reserve(std::max(days, 1));
    auto next = order.begin();
    for (QDate day = from; day <= last; day = day.addDays(1)) {
        AgendaDay entry{day, data::DayName(day), {}};
        auto end = next;
        while (end != order.end() && lines[end->second].date == day)
            ++end;
        entry.lines.reserve(end - next);
        while (next != order.end() && lines[next->second].date == day)
            entry.lines.append(std::move(lines[(next++)->second]));
        agenda.days.append(std::move(entry));
    }
    return agenda;
}

Agenda readAgenda(jet::Database& database, const QDate& from, int days, int withinMinutes)
{
    const engagements::DateRange range{from, from.addDays(std::max(days, 1) - 1)};
    QList<engagements::Entry> programmes =
        engagements::readProgrammes(database, data::Register::Local, range);
    programmes.append(engagements::readProgrammes(database, data::Register::Outstation, range));
    return buildAgenda(from, days, programmes, engagements::readTours(database, range),
                       withinMinutes);
}

} // namespace agenda
