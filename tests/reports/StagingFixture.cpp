#include "StagingFixture.h"

#include "data/DiaryDatabase.h"
#include "platform/jet/Database.h"
#include "platform/jet/Recordset.h"

StagingFixture::StagingFixture() : db(data::OpenDiaryDatabase(folder.diaryPath())) {}

void StagingFixture::addProgramme(const QString& table, int slNo, const QString& date,
                                  const QString& time)
{
    db->Execute(QStringLiteral("INSERT INTO %1 VALUES (%2, '%3', 'day', '%4', 'topic %2', "
                               "'venue', 'address', 'phone', 'contact', 'others')")
                    .arg(table)
                    .arg(slNo)
                    .arg(date, time));
}

void StagingFixture::addTour(int slNo, const QString& from, const QString& fromTime,
                             const QString& to, const QString& toTime)
{
    db->Execute(QStringLiteral("INSERT INTO tour VALUES (%1, 'here', 'there', '%2', 'dayA', '%3', "
                               "'%4', 'dayB', '%5', 'bus', 'others')")
                    .arg(slNo)
                    .arg(from, fromTime, to, toTime));
}

QStringList StagingFixture::rows(const QString& table) const
{
    auto rs =
        db->OpenRecordset(QStringLiteral("Select * from ") + table, jet::RecordsetType::Snapshot);
    QStringList out;
    if (rs->RecordCount() > 0)
        rs->MoveFirst();
    for (; !rs->Eof(); rs->MoveNext()) {
        QStringList columns;
        for (int i = 0; i < rs->FieldCount(); ++i)
            columns << rs->Fields(i).Value().toString();
        out << columns.join(QLatin1Char('|'));
    }
    return out;
}
