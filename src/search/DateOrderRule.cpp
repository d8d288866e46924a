#include "search/DateOrderRule.h"

namespace search {

QDate dateOrderRule(int index, const QDate& dateFrom, const QDate& dateTo, bool otherEnabled)
{
    if (index == 0)
        return otherEnabled && dateFrom > dateTo ? dateTo : dateFrom;
    return otherEnabled && dateTo < dateFrom ? dateFrom : dateTo;
}

} // namespace search
