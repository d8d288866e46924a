#include "backup/ExportCsv.h"

#include <QDate>
#include <QStringList>
#include <QTime>

#include "data/CsvText.h"
#include "platform/varnel/VarnelCodec.h"

namespace backup {

namespace {

const QStringList& columnNames(ExportRegister which)
{
    static const QStringList programme = {
        QStringLiteral("sl_no"),          QStringLiteral("tarna_date"),
        QStringLiteral("day_name"),       QStringLiteral("tarna_time"),
        QStringLiteral("topic"),          QStringLiteral("venue"),
        QStringLiteral("address"),        QStringLiteral("telephone"),
        QStringLiteral("contact_person"), QStringLiteral("others")};
    static const QStringList tour = {
        QStringLiteral("sl_no"),           QStringLiteral("travel_from"),
        QStringLiteral("travel_to"),       QStringLiteral("travel_date_from"),
        QStringLiteral("travel_day_from"), QStringLiteral("travel_time_from"),
        QStringLiteral("travel_date_to"),  QStringLiteral("travel_day_to"),
        QStringLiteral("travel_time_to"),  QStringLiteral("travel_type"),
        QStringLiteral("others")};
    return which == ExportRegister::Tour ? tour : programme;
}

QString cellText(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QDate: return value.toDate().toString(Qt::ISODate);
    case QMetaType::QTime: return value.toTime().toString(QStringLiteral("HH:mm:ss"));
    case QMetaType::QByteArray: return varnel::decode(value.toByteArray());
    default: return value.isNull() ? QString() : value.toString();
    }
}

} // namespace

QByteArray exportCsv(ExportRegister which, const QList<ExportRecord>& records)
{
    const QStringList& names = columnNames(which);
    QString text = data::csvLine(names);
    for (const ExportRecord& record : records) {
        QStringList cells;
        for (qsizetype i = 0; i < names.size(); ++i)
            cells << cellText(record.values.value(i));
        text += data::csvLine(cells);
    }
    return text.toUtf8();
}

} // namespace backup
