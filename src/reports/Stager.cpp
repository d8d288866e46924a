#include "reports/Stager.h"

#include <memory>
#include <optional>

#include <QFileInfo>

#include "data/DiaryDatabase.h"
#include "platform/files/FileChecks.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetDateTime.h"
#include "platform/jet/Recordset.h"
#include "platform/jet/SqlLiteral.h"
#include "platform/jet/Transaction.h"
#include "reports/ReportRegister.h"

namespace reports {

int stageRange(jet::Database& Db, const ReportRegister& reg, const QDate& first, const QDate& last)
{
    // The staging row: each source column in its place, the times cut to "HH:mm" (a time the
    // engine cannot read stops the run rather than staging garbage), then the range.
    QStringList values;
    for (qsizetype i = 0; i < reg.sourceColumns.size(); ++i) {
        const QString& column = reg.sourceColumns[i];
        values << (reg.timeColumns.contains(int(i))
                       ? QStringLiteral("strftime('%H:%M', ") + column + QLatin1Char(')')
                       : column);
    }
    values << jet::SqlLiteral(jet::isoDateText(first)) << jet::SqlLiteral(jet::isoDateText(last));

    // Emptying and refilling is one transaction, taken before anything is read, so nothing
    // another window saves slips in between. The rows are copied inside the engine in one
    // statement over the range query, in its order: the stored texts move byte for byte.
    // A diary that can only be read is staged in a temporary table of this connection, which
    // hides the file's own (as on a server); the report then reads through this connection.
    const bool privateStaging = Db.isReadOnly() && !Db.isServer();
    if (privateStaging)
        Db.Execute(QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS ") + reg.stagingTable +
                   QStringLiteral(" AS SELECT * FROM main.") + reg.stagingTable +
                   QStringLiteral(" WHERE 0"));
    std::optional<jet::Transaction> transaction;
    if (!privateStaging)
        transaction.emplace(Db);
    Db.Execute(QStringLiteral("DELETE FROM ") + reg.stagingTable);
    Db.Execute(QStringLiteral("INSERT INTO ") + reg.stagingTable + QStringLiteral(" SELECT ") +
               values.join(QStringLiteral(", ")) + QStringLiteral(" FROM (") +
               reg.rangeQuery(first, last) + QLatin1Char(')'));
    const std::unique_ptr<jet::Recordset> RsTemp = Db.OpenRecordset(
        QStringLiteral("Select count(*) from ") + reg.stagingTable, jet::RecordsetType::Snapshot);
    const int staged = RsTemp->Fields(0).Value().toInt();
    if (transaction)
        transaction->commit();
    return staged;
}

void requireRoomForReport(jet::Database& Db, const ReportRegister& reg, const QDate& first,
                          const QDate& last, const QString& folder, const QString& shown)
{
    // A report's PDF holds its fonts and page frames (some 50 kB) and some 150 bytes a record;
    // the estimate allows for long texts in every field and more fonts many times over.
    constexpr qint64 kBaseBytes = 4 * 1024 * 1024;
    constexpr qint64 kBytesPerRecord = 2048;
    const std::unique_ptr<jet::Recordset> RsCount = Db.OpenRecordset(
        QStringLiteral("Select count(*) from (") + reg.rangeQuery(first, last) + QLatin1Char(')'),
        jet::RecordsetType::Snapshot);
    const qint64 records = RsCount->Fields(0).Value().toLongLong();
    files::requireRoom(folder, kBaseBytes + records * kBytesPerRecord, shown);
}

report::DiaryOpener stagedDiaryOpener(std::shared_ptr<jet::Database> staged)
{
    return [staged](const QString& diaryPath) -> std::shared_ptr<jet::Database> {
        // A template naming a diary that is not there must not make one.
        const QString file = data::findDiaryFile(diaryPath);
        if (file.isEmpty())
            return nullptr;
        if (staged && (staged->isServer() || QFileInfo(file).canonicalFilePath() ==
                                                 QFileInfo(staged->path()).canonicalFilePath()))
            return staged;
        return data::OpenDiaryDatabase(diaryPath);
    };
}

} // namespace reports
