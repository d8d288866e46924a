#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTime>

namespace data {

// The Varnel weekday name of a date (Sunday "¨sÁ£ÀÄªÁgÀ" ... Saturday "±À¤ªÁgÀ"), whatever day
// the locale starts its week on; the time of a date-time is ignored. Empty for an invalid date.
QByteArray DayName(const QDate& date);
QByteArray DayName(const QDateTime& dateTime);

// Display formats of the date and time pickers (the date ends in three blanks).
inline constexpr char kPickerDateFormat[] = "dd/MM/yyyy   ";
inline constexpr char kPickerTimeFormat[] = "HH:mm";

// The locale's date and time separators, as its short date and long time forms write them
// ('/' and ':' when a form has none, such as "5 Mar 2024").
QString dateSeparator(const QLocale& locale = QLocale());
QString timeSeparator(const QLocale& locale = QLocale());

// "dd/mm/yyyy" of the search grids: day, month, four-digit year, with the locale's separator.
QString gridDateText(const QDate& date, const QLocale& locale = QLocale());
// "HH:mm" of the search grids, with the locale's time separator.
QString hourMinuteText(const QTime& time, const QLocale& locale = QLocale());
// "HH:mm" with a colon, as the staging tables hold it.
QString stagingTimeText(const QTime& time);

// The locale's short date form with a four-digit year, and its long time form without a time
// zone: how a date or time is written into a query text for datevalue()/timevalue(), which
// read these back exactly.
QString queryDateText(const QDate& date, const QLocale& locale = QLocale());
QString queryTimeText(const QTime& time, const QLocale& locale = QLocale());

// A date in a statement as stored, 'YYYY-MM-DD': compared as text on a file, read as a date by
// the server. A bare literal is not worked out again for each row a condition looks at.
QString dateLiteral(const QDate& date);
// The same through datevalue('YYYY-MM-DD'), as the lists' and exports' statements write it.
QString dateValue(const QDate& date);

} // namespace data
