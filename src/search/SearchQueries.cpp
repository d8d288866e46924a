#include "search/SearchQueries.h"

#include <QStringList>

#include "data/DayName.h"
#include "platform/jet/JetDateTime.h"
#include "platform/jet/JetError.h"
#include "platform/jet/JetLike.h"
#include "platform/jet/SqlLiteral.h"
#include "platform/varnel/VarnelCodec.h"

namespace search {

namespace {

// A place text between the quotes of a `like`: its stored form with the wildcard after it,
// quotes doubled. Jet's other pattern characters in it keep their meaning.
QString placePattern(const QByteArray& varnel)
{
    return jet::SqlLiteral(varnel::toStoredText(varnel) + QLatin1Char('*'));
}

QString timeValue(const QTime& time)
{
    return QStringLiteral("timevalue(") + jet::SqlLiteral(boundTimeText(time)) + QLatin1Char(')');
}

} // namespace

QString boundTimeText(const QTime& time)
{
    return jet::isoTimeText(time);
}

QString programmeOpeningQuery(const QString& table)
{
    return QStringLiteral("Select * from %1 order by tarna_date, tarna_time").arg(table);
}

QString programmeQuery(const QString& table, const ProgrammeBounds& bounds)
{
    // The conditions of the bounds in force, in their fixed order; mind the blanks.
    QStringList conditions;
    if (bounds.dateFrom)
        conditions << QStringLiteral("tarna_date>= ") + data::dateValue(*bounds.dateFrom);
    if (bounds.dateTo)
        conditions << QStringLiteral("tarna_date<=") + data::dateValue(*bounds.dateTo);
    if (bounds.timeFrom)
        conditions << QStringLiteral("tarna_time>= ") + timeValue(*bounds.timeFrom);
    if (bounds.timeTo)
        conditions << QStringLiteral("tarna_time<=") + timeValue(*bounds.timeTo);
    const QString select = QStringLiteral("Select * from ") + table;
    if (conditions.isEmpty())
        return select + QStringLiteral(" order by tarna_date,tarna_time");
    return select + QStringLiteral(" where ") + conditions.join(QStringLiteral(" and ")) +
           QStringLiteral(" order by tarna_date, tarna_time");
}

PlaceFault placeFault(const QByteArray& varnel)
{
    // The engine reads the pattern as the decoded text, as compared.
    const QString pattern = varnel::comparableText(varnel) + QLatin1Char('*');
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != QLatin1Char('['))
            continue;
        i = pattern.indexOf(QLatin1Char(']'), i + 1);
        if (i < 0)
            return PlaceFault::UnclosedBracket;
    }
    try {
        jet::LikePattern checked(pattern);
    } catch (const jet::JetError&) {
        return PlaceFault::BackwardRange;
    }
    return PlaceFault::None;
}

QString tourOpeningQuery()
{
    return QStringLiteral("Select * from tour order by travel_date_from, travel_date_to");
}

QString tourQuery(const TourCriteria& c)
{
    const bool from = !c.from.isEmpty(), to = !c.to.isEmpty();
    if (!from && !to && !c.dateFrom && !c.dateTo)
        return tourOpeningQuery();

    QStringList conditions;
    if (from)
        conditions << QStringLiteral("travel_from like") + placePattern(c.from);
    if (to)
        conditions << QStringLiteral("travel_to like ") + placePattern(c.to);
    // Together the two date conditions keep the tours whose travel period shares a day with
    // the range.
    QStringList dates;
    if (c.dateFrom)
        dates << QStringLiteral("(travel_date_from>= ") + data::dateValue(*c.dateFrom) +
                     QStringLiteral(" or travel_date_to>=") + data::dateValue(*c.dateFrom) +
                     QLatin1Char(')');
    if (c.dateTo)
        dates << QStringLiteral("(travel_date_to<= ") + data::dateValue(*c.dateTo) +
                     QStringLiteral(" or travel_date_from<= ") + data::dateValue(*c.dateTo) +
                     QLatin1Char(')');
    if (!dates.isEmpty())
        conditions << dates.join(QStringLiteral("  and "));
    // Both places with date-from alone close with two blanks.
    const bool wideClosing = from && to && c.dateFrom && !c.dateTo;
    return QStringLiteral("Select * from tour where ") + conditions.join(QStringLiteral(" and ")) +
           (wideClosing ? QStringLiteral("  ") : QStringLiteral(" ")) +
           QStringLiteral("order by travel_date_from, travel_date_to");
}

} // namespace search
