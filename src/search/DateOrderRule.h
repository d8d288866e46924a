#pragma once

#include <QDate>

namespace search {

// The date order rule, run for picker `index` after its check box is clicked or the user
// changes its date: with the other picker in force, date-from (0) may not pass date-to and
// date-to (1) may not come before date-from. Picker `index` is the one that moves; equal dates
// stand. Returns the date picker `index` should show.
QDate dateOrderRule(int index, const QDate& dateFrom, const QDate& dateTo, bool otherEnabled);

} // namespace search
