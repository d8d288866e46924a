#pragma once

#include <optional>

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QTime>

// The statements of the search windows, as pure functions of the bounds in force. The same
// builders serve the windows and velmora-cli.
namespace search {

// A bound is in force when it holds a value.
struct ProgrammeBounds {
    std::optional<QDate> dateFrom;
    std::optional<QDate> dateTo;
    std::optional<QTime> timeFrom;
    std::optional<QTime> timeTo;
};

struct TourCriteria {
    // Varnel bytes of the place texts; an empty text is no criterion, blanks are one.
    QByteArray from;
    QByteArray to;
    std::optional<QDate> dateFrom;
    std::optional<QDate> dateTo;
};

// "Select * from local order by tarna_date, tarna_time": the whole register, at opening.
QString programmeOpeningQuery(const QString& table);
// Qry_date's statement for `table` (local or outstation).
QString programmeQuery(const QString& table, const ProgrammeBounds& bounds);

// Why a place text (Varnel bytes) cannot go into a `like` as typed: a '[' without its ']', or a
// range in brackets that runs backwards ("[z-a]"). The engine would refuse the statement.
enum class PlaceFault { None, UnclosedBracket, BackwardRange };
PlaceFault placeFault(const QByteArray& varnel);

// "Select * from tour order by travel_date_from, travel_date_to": at opening, and Qry_tour's
// statement when no criterion is given.
QString tourOpeningQuery();
QString tourQuery(const TourCriteria& criteria);

// The value text put between the quotes of timevalue('…'): the ISO form, which the engine
// reads back whatever the regional settings (dates: data::dateValue).
QString boundTimeText(const QTime& time);

} // namespace search
