#include "registers/RegisterMapping.h"

#include "platform/varnel/KannadaDigits.h"
#include "platform/varnel/VarnelCodec.h"
#include "registers/RegisterTexts.h"

namespace registers {

namespace {

// local and outstation share the ten-column programme layout.
RegisterMapping programmeRegister(const QString& table, const QByteArray& contact)
{
    RegisterMapping m;
    m.table = table;
    m.openQuery = QStringLiteral("Select * from %1 order by sl_no").arg(table);
    m.fields = {
        {0, FieldKind::SerialNumber},
        {1, FieldKind::Date, 2},
        {2, FieldKind::DayName},
        {3, FieldKind::Time},
        {4, FieldKind::Text, -1, texts::topic},
        {5, FieldKind::Text, -1, texts::venue},
        {6, FieldKind::Text, -1, texts::address},
        {7, FieldKind::Text, -1, texts::telephone},
        {8, FieldKind::Text, -1, contact},
        {9, FieldKind::Text, -1, texts::others},
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
        {1, FieldKind::Text, -1, texts::travelFrom},
        {2, FieldKind::Text, -1, texts::travelTo},
        {3, FieldKind::Date, 4},
        {4, FieldKind::DayName},
        {5, FieldKind::Time},
        {6, FieldKind::Date, 7},
        {7, FieldKind::DayName},
        {8, FieldKind::Time},
        {9, FieldKind::Text, -1, texts::travelType},
        {10, FieldKind::Text, -1, texts::others},
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
    static const RegisterMapping m =
        programmeRegister(QStringLiteral("local"), texts::contactLocal);
    return m;
}

const RegisterMapping& RegisterMapping::outstation()
{
    static const RegisterMapping m =
        programmeRegister(QStringLiteral("outstation"), texts::contactOutstation);
    return m;
}

const RegisterMapping& RegisterMapping::tour()
{
    static const RegisterMapping m = tourRegister();
    return m;
}

const RegisterMapping& RegisterMapping::ofTable(const QString& table)
{
    for (const RegisterMapping* m : {&outstation(), &tour()}) {
        if (m->table == table)
            return *m;
    }
    return local();
}

QString RegisterMapping::about(const QList<QVariant>& record) const
{
    QStringList texts;
    const int shown = keepsDatesInOrder() ? 2 : 1;
    for (int i = 0; i < shown && i < requiredTexts.size(); ++i)
        texts << varnel::decode(record.value(requiredTexts[i]).toByteArray()).simplified();
    return texts.join(QStringLiteral(" – "));
}

QDate RegisterMapping::dateOf(const QList<QVariant>& record) const
{
    for (const RegisterField& f : fields) {
        if (f.kind == FieldKind::Date)
            return record.value(f.ordinal).toDate();
    }
    return {};
}

QTime RegisterMapping::timeOf(const QList<QVariant>& record) const
{
    for (const RegisterField& f : fields) {
        if (f.kind == FieldKind::Time)
            return record.value(f.ordinal).toTime();
    }
    return {};
}

QString RegisterMapping::named(const QList<QVariant>& record) const
{
    QString text = about(record);
    if (text.size() > 60)
        text = text.left(59) + QChar(0x2026);
    return QStringLiteral("«%1» (%2)")
        .arg(text, varnel::kannadaDigits(dateOf(record).toString(QStringLiteral("dd/MM/yyyy"))));
}

} // namespace registers
