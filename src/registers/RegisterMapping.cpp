#include "registers/RegisterMapping.h"

#include "registers/RegisterTexts.h"

namespace registers {

namespace {

// local and outstation share the ten-column programme layout.
RegisterMapping programmeRegister(const QString& table)
{
    RegisterMapping m;
    m.table = table;
    m.openQuery = QStringLiteral("Select * from %1 order by sl_no").arg(table);
    m.fields = {
        {0, FieldKind::SerialNumber},
        {1, FieldKind::Date, 2},
        {2, FieldKind::DayName},
        {3, FieldKind::Time},
        {4, FieldKind::Text}, // topic
        {5, FieldKind::Text}, // venue
        {6, FieldKind::Text}, // address
        {7, FieldKind::Text}, // telephone
        {8, FieldKind::Text}, // contact_person
        {9, FieldKind::Text}, // others
    };
    m.requiredTexts = {4, 5};
    m.missingMessage = texts::programmeDetailsMissing;
    return m;
}

RegisterMapping tourRegister()
{
    RegisterMapping m;
    m.table = QStringLiteral("tour");
    m.openQuery = QStringLiteral("Select * from tour order by sl_no");
    m.fields = {
        {0, FieldKind::SerialNumber},
        {1, FieldKind::Text}, // travel_from
        {2, FieldKind::Text}, // travel_to
        {3, FieldKind::Date, 4},
        {4, FieldKind::DayName},
        {5, FieldKind::Time},
        {6, FieldKind::Date, 7},
        {7, FieldKind::DayName},
        {8, FieldKind::Time},
        {9, FieldKind::Text},  // travel_type
        {10, FieldKind::Text}, // others
    };
    m.requiredTexts = {1, 2};
    m.missingMessage = texts::tourDetailsMissing;
    m.departureDate = 3;
    m.arrivalDate = 6;
    return m;
}

} // namespace

const RegisterMapping& RegisterMapping::local()
{
    static const RegisterMapping m = programmeRegister(QStringLiteral("local"));
    return m;
}

const RegisterMapping& RegisterMapping::outstation()
{
    static const RegisterMapping m = programmeRegister(QStringLiteral("outstation"));
    return m;
}

const RegisterMapping& RegisterMapping::tour()
{
    static const RegisterMapping m = tourRegister();
    return m;
}

} // namespace registers
