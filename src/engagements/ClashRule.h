#pragma once

#include <QList>
#include <QString>

#include "engagements/DiaryEntry.h"
#include "engagements/EntryReader.h"

namespace jet {
class Database;
}

// When two engagements cannot both be kept:
// - two programmes, local or outstation, in either register, on the same date whose times
//   (to the second) differ by less than the setting's minutes; no pair reaches across midnight;
// - a local programme whose date and time lie strictly between a tour's departure and its
//   arrival (the person is away): a programme at the very moment of leaving or arriving does
//   not clash, nor does any programme with a tour whose stored arrival is not after its
//   departure. Outstation programmes are where the tour goes and never clash with it.
namespace engagements {

enum class ClashReason { Time, Tour };

// "time" or "tour", as velmora-cli writes it.
QString reasonName(ClashReason reason);

struct Clash {
    Entry first; // the one that begins first (a tour before the programme it holds)
    Entry second;
    ClashReason reason = ClashReason::Time;
};

inline constexpr int kDefaultClashMinutes = 60;
// A whole day: every two programmes of one date lie closer than this.
inline constexpr int kMaximumClashMinutes = 24 * 60;

// The minutes of the rule, as the program's settings file (~/.config/Velmora/Velmora.ini,
// [agenda] clash-minutes) keeps them: 0 (no clash by time) to kMaximumClashMinutes; a missing
// or unreadable setting gives kDefaultClashMinutes.
int clashMinutes();
void setClashMinutes(int minutes);

// Whether two programmes clash by their times.
bool timesClash(const Entry& a, const Entry& b, int withinMinutes);
// Whether `programme` falls while `tour` takes the person away.
bool tourHolds(const Entry& tour, const Entry& programme);

// Every clashing pair among `programmes` (local and outstation, in any order) and `tours`,
// ordered by when the clash happens (the second's start), then by the first.
QList<Clash> findClashes(const QList<Entry>& programmes, const QList<Entry>& tours,
                         int withinMinutes);

// The clashes of the programmes dated within `range`, from the diary (entries without their
// texts: a pair is named by register and serial number).
QList<Clash> readClashes(jet::Database& database, const DateRange& range, int withinMinutes);

} // namespace engagements
