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

QStringList columnNames(ExportRegister which)
{
    return data::registerColumns(which == ExportRegister::Tour ? QStringLiteral("tour")
                                                               : QStringLiteral("local"));
}

search::SearchRegister gridRegister(ExportRegister which)
{
    switch (which) {
    case ExportRegister::Local: return search::SearchRegister::Local;
    case ExportRegister::Outstation: return search::SearchRegister::Outstation;
    case ExportRegister::Tour: break;
    }
    return search::SearchRegister::Tour;
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
QByteArray exportCsvHeader(ExportRegister which)
{
    return data::csvLine(search::csvHeader(gridRegister(which))).toUtf8();
}

QByteArray exportCsvLine(ExportRegister which, const QVariantList& values)
{
    const qsizetype columns = columnNames(which).size();
    QStringList cells;
    cells.reserve(columns);
    for (qsizetype i = 0; i < columns; ++i)
        cells << cellText(values.value(i));
    return data::csvLine(cells).toUtf8();
}

QByteArray exportCsv(ExportRegister which, const QList<ExportRecord>& records)
{
    QByteArray text = exportCsvHeader(which);
    for (const ExportRecord& record : records)
        text += exportCsvLine(which, record.values);
    return text;
}

} // namespace exports
