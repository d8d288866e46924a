#include "export/ExportCsv.h"

#include <QDate>
#include <QStringList>
#include <QTime>

#include "data/CsvText.h"
#include "data/DiarySchema.h"
#include "platform/varnel/VarnelCodec.h"
#include "search/SearchCsv.h"

namespace exports {

namespace {

QStringList columnNames(data::Register which)
{
    return data::registerColumns(data::tableName(which));
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

// The grid's Kannada captions, column for column, as the lists and velmora-cli list write them.
QByteArray exportCsvHeader(data::Register which)
{
    return data::csvLine(search::csvHeader(which)).toUtf8();
}

QByteArray exportCsvLine(data::Register which, const QVariantList& values)
{
    const qsizetype columns = columnNames(which).size();
    QStringList cells;
    cells.reserve(columns);
    for (qsizetype i = 0; i < columns; ++i)
        cells << cellText(values.value(i));
    return data::csvLine(cells).toUtf8();
}

QByteArray exportCsv(data::Register which, const QList<data::Record>& records)
{
    QByteArray text = exportCsvHeader(which);
    for (const data::Record& record : records)
        text += exportCsvLine(which, record.values);
    return text;
}

} // namespace exports
