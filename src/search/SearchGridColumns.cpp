#include "search/SearchGridColumns.h"

#include <QDate>
#include <QTime>

#include "data/DayName.h"
#include "platform/varnel/KannadaDigits.h"
#include "platform/varnel/VarnelCodec.h"
#include "search/SearchTexts.h"

namespace search {

namespace {

QList<GridColumn> programmeColumns()
{
    return {
        {texts::serialNumber, 0, CellKind::Position},
        {texts::date, 1, CellKind::Date},
        {texts::day, 2, CellKind::Text},
        {texts::time, 3, CellKind::Time},
        {texts::topic, 4, CellKind::Text},
        {texts::venue, 5, CellKind::Text},
        {texts::address, 6, CellKind::Text},
        {texts::telephone, 7, CellKind::Text},
        {texts::contactPerson, 8, CellKind::Text},
        {texts::others, 9, CellKind::Text},
    };
}

QList<GridColumn> tourColumns()
{
    return {
        {texts::serialNumber, 0, CellKind::Position}, {texts::fromWhere, 1, CellKind::Text},
        {texts::toWhere, 2, CellKind::Text},          {texts::departureDate, 3, CellKind::Date},
        {texts::departureDay, 4, CellKind::Text},     {texts::departureTime, 5, CellKind::Time},
        {texts::arrivalDate, 6, CellKind::Date},      {texts::arrivalDay, 7, CellKind::Text},
        {texts::arrivalTime, 8, CellKind::Time},      {texts::travelMode, 9, CellKind::Text},
        {texts::others, 10, CellKind::Text},
    };
}

// A value the engine could not type as its column says is shown as it was found.
QString untyped(const QVariant& value)
{
    if (value.typeId() == QMetaType::QByteArray)
        return varnel::decode(value.toByteArray());
    return value.toString();
}

} // namespace

const QList<GridColumn>& gridColumns(data::Register which)
{
    static const QList<GridColumn> programme = programmeColumns();
    static const QList<GridColumn> tour = tourColumns();
    return which == data::Register::Tour ? tour : programme;
}

QString gridPositionText(int position)
{
    return varnel::kannadaDigits(QString::number(position));
}

QString gridCellText(CellKind kind, const QVariant& value)
{
    switch (kind) {
    case CellKind::Date:
        if (value.typeId() == QMetaType::QDate)
            return varnel::kannadaDigits(data::gridDateText(value.toDate()));
        break;
    case CellKind::Time:
        if (value.typeId() == QMetaType::QTime)
            return varnel::kannadaDigits(data::hourMinuteText(value.toTime()));
        break;
    case CellKind::Text:
        if (value.typeId() == QMetaType::QByteArray) {
            QString text = varnel::decode(value.toByteArray());
            text.replace(QLatin1String("\r\n"), QLatin1String(" "));
            text.replace(QLatin1Char('\n'), QLatin1Char(' '));
            text.replace(QLatin1Char('\r'), QLatin1Char(' '));
            return text;
        }
        break;
    case CellKind::Position: return gridPositionText(value.toInt());
    }
    return untyped(value);
}

namespace {

// Digits written straight in: a list of a whole register writes one per record.
void putDigits(char16_t*& at, int value, int digits)
{
    for (int i = digits - 1; i >= 0; --i, value /= 10)
        at[i] = char16_t(u'0' + value % 10);
    at += digits;
}

QString isoDate(const QDate& date)
{
    if (date.year() < 1 || date.year() > 9999)
        return date.toString(Qt::ISODate);
    QString text(10, Qt::Uninitialized);
    char16_t* at = reinterpret_cast<char16_t*>(text.data());
    putDigits(at, date.year(), 4);
    *at++ = u'-';
    putDigits(at, date.month(), 2);
    *at++ = u'-';
    putDigits(at, date.day(), 2);
    return text;
}

QString hoursMinutes(const QTime& time)
{
    QString text(5, Qt::Uninitialized);
    char16_t* at = reinterpret_cast<char16_t*>(text.data());
    putDigits(at, time.hour(), 2);
    *at++ = u':';
    putDigits(at, time.minute(), 2);
    return text;
}

} // namespace

QString csvCellText(CellKind kind, const QVariant& value)
{
    switch (kind) {
    case CellKind::Date:
        if (value.typeId() == QMetaType::QDate)
            return isoDate(value.toDate());
        break;
    case CellKind::Time:
        if (value.typeId() == QMetaType::QTime && value.toTime().isValid())
            return hoursMinutes(value.toTime());
        break;
    case CellKind::Text:
        if (value.typeId() == QMetaType::QByteArray)
            return varnel::decode(value.toByteArray());
        break;
    case CellKind::Position: return QString::number(value.toLongLong());
    }
    return untyped(value);
}

} // namespace search
