#include "export/DiaryIdentity.h"

#include <QUuid>

#include "data/DiarySchema.h"

#include "platform/jet/Database.h"
#include "platform/jet/JetError.h"
#include "platform/jet/Recordset.h"
#include "platform/jet/SqlLiteral.h"
#include "platform/jet/Transaction.h"

namespace exports {

std::optional<QString> storedDiaryId(jet::Database& database)
{
    try {
        auto rs = database.OpenRecordset(QStringLiteral("Select * from diary_identity"),
                                         jet::RecordsetType::Snapshot);
        if (rs->RecordCount() == 0)
            return std::nullopt;
        rs->MoveFirst();
        const QString id = QString::fromLatin1(rs->Fields(0).Value().toByteArray());
        return id.isEmpty() ? std::nullopt : std::optional<QString>(id);
    } catch (const jet::JetError& error) {
        if (error.number() == jet::errors::kTableNotFound)
            return std::nullopt;
        throw;
    }
}

QString storeDiaryId(jet::Database& database, const QString& id)
{
    jet::Transaction transaction(database);
    database.Execute(
        QStringLiteral("CREATE TABLE IF NOT EXISTS diary_identity (diary_id TEXT NOT NULL)"));
    // Another program may have stored one since we looked: its id wins.
    if (const auto stored = storedDiaryId(database))
        return *stored;
    database.Execute(
        QStringLiteral("INSERT INTO diary_identity VALUES (%1)").arg(jet::SqlLiteral(id)));
    transaction.commit();
    return id;
}

QString diaryId(jet::Database& database)
{
    if (const auto stored = storedDiaryId(database))
        return *stored;
    if (database.isReadOnly() || !database.isServer())
        return data::diaryIdOfPath(database.path());
    return storeDiaryId(database, QUuid::createUuid().toString(QUuid::Id128));
}

} // namespace exports
