#include "agenda/DiaryEntry.h"

#include <tuple>

namespace agenda {

QString registerName(Register which)
{
    switch (which) {
    case Register::Local: return QStringLiteral("local");
    case Register::Outstation: return QStringLiteral("outstation");
    case Register::Tour: break;
    }
    return QStringLiteral("tour");
}

QString registerLabel(Register which)
{
    switch (which) {
    case Register::Local: return QStringLiteral(u"ಸ್ಥಳೀಯ");
    case Register::Outstation: return QStringLiteral(u"ಪರಸ್ಥಳ");
    case Register::Tour: break;
    }
    return QStringLiteral(u"ಪ್ರವಾಸ");
}

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

} // namespace agenda
