#include "engagements/DiaryEntry.h"

#include <tuple>

namespace engagements {

std::int64_t Entry::moment(const QDate& date, const QTime& time)
{
    // No time (a day on tour) is the start of the day.
    return date.toJulianDay() * 86400 + time.msecsSinceStartOfDay() / 1000;
}

bool sameRecord(const Entry& a, const Entry& b)
{
    return a.which == b.which && a.key == b.key;
}

bool startsBefore(const Entry& a, const Entry& b)
{
    return std::tuple(a.start(), a.which, a.serial) < std::tuple(b.start(), b.which, b.serial);
}

} // namespace engagements
