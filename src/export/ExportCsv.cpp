#include "export/ExportCsv.h"

#include <QDate>
#include <QStringList>
#include <QTime>

#include "data/CsvText.h"
#include "data/DiarySchema.h"
#include "platform/varnel/VarnelCodec.h"

namespace exports {

namespace {

QStringList columnNames(ExportRegister which)
{
    return data::registerColumns(which == ExportRegister::Tour ? QStringLiteral("tour")
                                                               : QStringLiteral("local"));
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

} // namespace exports
