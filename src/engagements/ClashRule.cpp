#include "engagements/ClashRule.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>
#include <vector>

#include "platform/files/ProgramSettings.h"

namespace engagements {

namespace {

const char* const kMinutesKey = "agenda/clash-minutes";

// An entry with its start and end worked out once.
struct Timed {
    const Entry* entry;
    std::int64_t start;
    std::int64_t end;

    auto order() const { return std::tuple(start, entry->which, entry->serial); }
};

std::vector<Timed> inOrder(const QList<Entry>& entries)
{
    std::vector<Timed> timed;
    timed.reserve(size_t(entries.size()));
    for (const Entry& entry : entries)
        timed.push_back({&entry, entry.start(), entry.isTour() ? entry.end() : entry.start()});
    std::sort(timed.begin(), timed.end(),
              [](const Timed& a, const Timed& b) { return a.order() < b.order(); });
    return timed;
}

struct Found {
    const Timed* first;
    const Timed* second;
    ClashReason reason;

    // When the clash happens, then the first.
    auto order() const { return std::tuple(second->start, first->order(), second->order()); }
};

} // namespace

QString reasonName(ClashReason reason)
{
    return reason == ClashReason::Tour ? QStringLiteral("tour") : QStringLiteral("time");
}

int clashMinutes()
{
    bool ok = false;
    const int minutes = files::programSetting(QLatin1String(kMinutesKey)).toInt(&ok);
    return ok && minutes >= 0 && minutes <= kMaximumClashMinutes ? minutes : kDefaultClashMinutes;
}

void setClashMinutes(int minutes)
{
    files::setProgramSetting(QLatin1String(kMinutesKey),
                             std::clamp(minutes, 0, kMaximumClashMinutes));
}

bool timesClash(const Entry& a, const Entry& b, int withinMinutes)
{
    if (a.isTour() || b.isTour() || sameRecord(a, b) || a.date != b.date)
        return false;
    return std::abs(a.start() - b.start()) < std::int64_t(withinMinutes) * 60;
}

bool tourHolds(const Entry& tour, const Entry& programme)
{
    if (!tour.isTour() || programme.which != data::Register::Local)
        return false;
    const std::int64_t at = programme.start();
    return tour.start() < at && at < tour.end();
}

QList<Clash> findClashes(const QList<Entry>& programmes, const QList<Entry>& tours,
                         int withinMinutes)
{
    const std::vector<Timed> timed = inOrder(programmes), away = inOrder(tours);
    const std::int64_t window = std::int64_t(withinMinutes) * 60;
    std::vector<Found> found;
    for (auto first = timed.begin(); first != timed.end(); ++first) {
        // In start order the partners of a programme follow it closely on its own date.
        for (auto second = first + 1;
             second != timed.end() && second->start - first->start < window &&
             second->entry->date == first->entry->date;
             ++second) {
            if (timesClash(*first->entry, *second->entry, withinMinutes))
                found.push_back({&*first, &*second, ClashReason::Time});
        }
    }
    // One sweep over the programmes in start order: the tours that have left by then, less
    // those that have arrived, are the only ones that can hold a programme.
    std::vector<const Timed*> gone;
    auto next = away.begin();
    for (const Timed& programme : timed) {
        while (next != away.end() && next->start < programme.start)
            gone.push_back(&*next++);
        std::erase_if(gone, [&](const Timed* tour) { return tour->end <= programme.start; });
        for (const Timed* tour : gone) {
            if (tourHolds(*tour->entry, *programme.entry))
                found.push_back({tour, &programme, ClashReason::Tour});
        }
    }
    std::sort(found.begin(), found.end(),
              [](const Found& a, const Found& b) { return a.order() < b.order(); });
    QList<Clash> clashes;
    clashes.reserve(qsizetype(found.size()));
    for (const Found& f : found)
        clashes.append({*f.first->entry, *f.second->entry, f.reason});
    return clashes;
}

QList<Clash> readClashes(jet::Database& database, const DateRange& range, int withinMinutes)
{
    QList<Entry> programmes = readProgrammes(database, data::Register::Local, range, Texts::Leave);
    programmes.append(readProgrammes(database, data::Register::Outstation, range, Texts::Leave));
    return findClashes(programmes, readTours(database, range, Texts::Leave), withinMinutes);
}

} // namespace engagements
