#include "registers/ClashCandidate.h"

namespace registers {

namespace {

struct TimeColumns {
    QList<int> dates;
    QList<int> times;
};

TimeColumns timeColumns(const RegisterMapping& mapping)
{
    TimeColumns columns;
    for (const RegisterField& f : mapping.fields) {
        if (f.kind == FieldKind::Date)
            columns.dates << f.ordinal;
        else if (f.kind == FieldKind::Time)
            columns.times << f.ordinal;
    }
    return columns;
}

} // namespace

RecordTimes RecordTimes::of(const QList<QVariant>& record)
{
    return {[record](int ordinal) { return record.value(ordinal).toDate(); },
            [record](int ordinal) { return record.value(ordinal).toTime(); }};
}

std::optional<engagements::SaveCandidate> clashCandidate(const RegisterMapping& mapping,
                                                         const RecordTimes& record,
                                                         std::optional<std::int64_t> ownKey)
{
    const TimeColumns columns = timeColumns(mapping);
    if (columns.dates.isEmpty() || columns.times.size() < columns.dates.size())
        return std::nullopt;
    engagements::SaveCandidate candidate;
    candidate.which = data::registerNamed(mapping.table).value_or(data::Register::Local);
    candidate.date = record.date(columns.dates[0]);
    candidate.time = record.time(columns.times[0]);
    if (columns.dates.size() > 1) {
        candidate.endDate = record.date(columns.dates[1]);
        candidate.endTime = record.time(columns.times[1]);
    }
    candidate.ownKey = ownKey;
    return candidate;
}

bool movedInTime(const RegisterMapping& mapping, const RecordTimes& record,
                 const QList<QVariant>& stored)
{
    const TimeColumns columns = timeColumns(mapping);
    for (int o : columns.dates) {
        if (stored.value(o).toDate() != record.date(o))
            return true;
    }
    for (int o : columns.times) {
        if (stored.value(o).toTime() != record.time(o))
            return true;
    }
    return false;
}

} // namespace registers
