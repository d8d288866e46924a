#include "legacy/LegacyLayout.h"

namespace legacy {

namespace {

QList<LegacyColumn> programmeColumns()
{
    return {{"sl_no", ColumnKind::Serial},        {"tarna_date", ColumnKind::Date},
            {"day_name", ColumnKind::Text},       {"tarna_time", ColumnKind::Time},
            {"topic", ColumnKind::Text},          {"venue", ColumnKind::Text},
            {"address", ColumnKind::Text},        {"telephone", ColumnKind::Text},
            {"contact_person", ColumnKind::Text}, {"others", ColumnKind::Text}};
}

} // namespace

const QList<LegacyRegister>& legacyRegisters()
{
    static const QList<LegacyRegister> registers = {
        {"local", programmeColumns()},
        {"outstation", programmeColumns()},
        {"tour",
         {{"sl_no", ColumnKind::Serial},
          {"travel_from", ColumnKind::Text},
          {"travel_to", ColumnKind::Text},
          {"travel_date_from", ColumnKind::Date},
          {"travel_day_from", ColumnKind::Text},
          {"travel_time_from", ColumnKind::Time},
          {"travel_date_to", ColumnKind::Date},
          {"travel_day_to", ColumnKind::Text},
          {"travel_time_to", ColumnKind::Time},
          {"travel_type", ColumnKind::Text},
          {"others", ColumnKind::Text}}},
    };
    return registers;
}

} // namespace legacy
