#include "reports/Stager.h"

#include <memory>

#include "data/DayName.h"
#include "platform/jet/Database.h"
#include "platform/jet/Recordset.h"
#include "platform/jet/Transaction.h"
#include "reports/ReportRegister.h"

namespace reports {

int stageRange(jet::Database& Db, const ReportRegister& reg, const QDate& first, const QDate& last)
{
    // Taken first, so nothing another window saves can slip in between reading and writing.
    jet::Transaction transaction(Db);

    // Read once from start to end: a snapshot serves, and reads the rows in one pass.
    const std::unique_ptr<jet::Recordset> RsSource =
        Db.OpenRecordset(reg.rangeQuery(first, last), jet::RecordsetType::Snapshot);

    Db.Execute(QStringLiteral("DELETE FROM ") + reg.stagingTable);
    const std::unique_ptr<jet::Recordset> RsTemp =
        Db.OpenRecordset(QStringLiteral("Select * from ") + reg.stagingTable);

    const int sourceColumns = RsSource->FieldCount();
    const QVariant rangeFrom(first);
    const QVariant rangeTo(last);
    if (RsSource->RecordCount() > 0)
        RsSource->MoveFirst();
    while (!RsSource->Eof()) {
        RsTemp->AddNew();
        for (int i = 0; i < sourceColumns; ++i) {
            const QVariant value = RsSource->Fields(i).Value();
            if (reg.timeColumns.contains(i))
                RsTemp->Fields(i).setValue(data::stagingTimeText(value.toTime()));
            else
                RsTemp->Fields(i).setValue(value);
        }
        RsTemp->Fields(sourceColumns).setValue(rangeFrom);
        RsTemp->Fields(sourceColumns + 1).setValue(rangeTo);
        RsTemp->Update();
        RsSource->MoveNext();
    }
    const int staged = RsTemp->RecordCount();
    transaction.commit();
    return staged;
}

} // namespace reports
