#pragma once

#include <optional>

#include <QDate>
#include <QList>

#include "engagements/DiaryEntry.h"

namespace jet {
class Database;
}

namespace engagements {

// Whole days; a bound is in force when it holds a date.
struct DateRange {
    std::optional<QDate> from;
    std::optional<QDate> to;
};

// Whether entries carry their texts (subject and place); the clash rule needs none.
enum class Texts { Read, Leave };

// The programmes of `which` (local or outstation) dated within `range`, in date and time order.
QList<Entry> readProgrammes(jet::Database& database, data::Register which, const DateRange& range,
                            Texts texts = Texts::Read);

// The tours under way on a day of `range`: those leaving by its last day and arriving on or
// after its first, and those leaving within it (whatever their stored arrival), in order of
// departure.
QList<Entry> readTours(jet::Database& database, const DateRange& range, Texts texts = Texts::Read);

} // namespace engagements
