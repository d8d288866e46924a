#include "engagements/SaveClashCheck.h"

#include <algorithm>
#include <limits>

#include "engagements/EntryReader.h"

namespace engagements {

namespace {

Entry candidateEntry(const SaveCandidate& candidate)
{
    Entry entry;
    entry.which = candidate.which;
    // A new record has no row yet: no stored key equals this one.
    entry.key = candidate.ownKey.value_or(std::numeric_limits<std::int64_t>::min());
    entry.date = candidate.date;
    entry.time = candidate.time;
    entry.endDate = candidate.endDate;
    entry.endTime = candidate.endTime;
    return entry;
}

} // namespace

QList<Entry> clashesOnSave(jet::Database& database, const SaveCandidate& candidate,
                           int withinMinutes)
{
    const Entry self = candidateEntry(candidate);
    QList<Entry> clashes;
    if (self.isTour()) {
        if (self.end() > self.start()) {
            for (const Entry& programme :
                 readProgrammes(database, data::Register::Local, {self.date, self.endDate})) {
                if (tourHolds(self, programme))
                    clashes.append(programme);
            }
        }
        return clashes;
    }
    const DateRange day{self.date, self.date};
    for (const data::Register which : {data::Register::Local, data::Register::Outstation}) {
        for (const Entry& programme : readProgrammes(database, which, day)) {
            if (timesClash(self, programme, withinMinutes))
                clashes.append(programme);
        }
    }
    if (self.which == data::Register::Local) {
        for (const Entry& tour : readTours(database, day)) {
            if (tourHolds(tour, self))
                clashes.append(tour);
        }
    }
    std::sort(clashes.begin(), clashes.end(), startsBefore);
    return clashes;
}

SaveClashCheck::SaveClashCheck(int withinMinutes) : m_within(withinMinutes) {}

QList<Entry> SaveClashCheck::newClashes(jet::Database& database,
                                        const SaveCandidate& candidate) const
{
    QList<Entry> clashes = clashesOnSave(database, candidate, m_within);
    clashes.removeIf([this](const Entry& entry) {
        return std::any_of(m_accepted.begin(), m_accepted.end(),
                           [&](const Entry& accepted) { return sameRecord(accepted, entry); });
    });
    return clashes;
}

void SaveClashCheck::accept(const QList<Entry>& clashes)
{
    m_accepted.append(clashes);
}

} // namespace engagements
