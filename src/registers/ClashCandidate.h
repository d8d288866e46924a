#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include <QDate>
#include <QList>
#include <QTime>
#include <QVariant>

#include "engagements/SaveClashCheck.h"
#include "registers/RegisterMapping.h"

namespace registers {

// A record's dates and times by column ordinal: the form's, or stored columns'.
struct RecordTimes {
    std::function<QDate(int)> date;
    std::function<QTime(int)> time;

    static RecordTimes of(const QList<QVariant>& record);
};

// The record as the clash check sees it before it is written: a programme's date and time, a
// tour's departure and arrival. None for a register without them. `ownKey` is the stored row a
// change is written to.
std::optional<engagements::SaveCandidate> clashCandidate(const RegisterMapping& mapping,
                                                         const RecordTimes& record,
                                                         std::optional<std::int64_t> ownKey);

// Whether `record` lies at another date or time than `stored` (a change that keeps them clashes
// with nothing new).
bool movedInTime(const RegisterMapping& mapping, const RecordTimes& record,
                 const QList<QVariant>& stored);

} // namespace registers
