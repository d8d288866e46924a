#pragma once

#include <optional>

#include <QDate>
#include <QLocale>
#include <QStringView>
#include <QTime>

namespace jet {

// Reads a date the way datevalue() does: ISO "YYYY-MM-DD", the locale's short and long date
// forms, numeric forms in the locale's day/month/year order with any of / - . between them,
// two- or four-digit years (two digits: 1930..2029). A time of day after the date is allowed
// and ignored. Texts that do not name one date unambiguously give nullopt, never a guess.
std::optional<QDate> dateFromText(QStringView text, const QLocale& locale = QLocale());

// Reads a time of day the way timevalue() does: "HH:mm[:ss]", the locale's time forms with
// its separator, 12-hour forms with AM/PM (the locale's markers or English ones), a trailing
// zone name, and a date in front (which is ignored). A date alone is midnight.
std::optional<QTime> timeFromText(QStringView text, const QLocale& locale = QLocale());

// The stored forms: "YYYY-MM-DD" and "HH:MM:SS".
QString isoDateText(const QDate& date);
QString isoTimeText(const QTime& time);

} // namespace jet
