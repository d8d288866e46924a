#include "legacy/DiaryWriter.h"

#include "legacy/LegacyError.h"
#include "platform/jet/Database.h"
#include "platform/jet/SqliteFile.h"
#include "platform/jet/SqliteStatement.h"
#include "platform/jet/Transaction.h"

namespace legacy {

namespace {

void refuseFilledDiary(jet::Database& database, const QList<ConvertedRegister>& registers)
{
    for (const ConvertedRegister& r : registers) {
        const QString context =
            QStringLiteral("Could not read the diary '%1'").arg(database.path());
        jet::SqliteStatement count = jet::fileStatement(
            database, QStringLiteral("SELECT count(*) FROM ") + QLatin1String(r.layout->table),
            context);
        count.step(context);
        if (count.columnInt64(0) > 0)
            throw LegacyError(QStringLiteral("The diary '%1' already holds records (in '%2'); "
                                             "records are only brought into an empty diary. "
                                             "Nothing was changed.")
                                  .arg(database.path(), QLatin1String(r.layout->table)));
    }
}

} // namespace

void writeRegisters(jet::Database& database, const QList<ConvertedRegister>& registers,
                    const WriteProgress& progress)
{
    if (database.isServer())
        throw LegacyError(QStringLiteral("The diary '%1' lies on a server: bring the records into "
                                         "a diary file, then copy that to the server with "
                                         "velmora-cli server init --from-diary. Nothing was "
                                         "changed.")
                              .arg(database.path()));
    jet::Transaction transaction(database);
    refuseFilledDiary(database, registers);
    int written = 0;
    for (const ConvertedRegister& r : registers) {
        const QString context =
            QStringLiteral("Could not write a record of '%1' into the diary '%2'")
                .arg(QLatin1String(r.layout->table), database.path());
        QString sql = QStringLiteral("INSERT INTO ") + QLatin1String(r.layout->table) +
                      QStringLiteral(" VALUES (?");
        for (qsizetype c = 1; c < r.layout->columns.size(); ++c)
            sql += QStringLiteral(",?");
        sql += QLatin1Char(')');
        jet::SqliteStatement insert = jet::fileStatement(database, sql, context);
        for (const DiaryRow& row : r.rows) {
            insert.bindInt64(1, row.serial);
            for (qsizetype c = 0; c < row.values.size(); ++c)
                insert.bindText(int(c) + 2, row.values[c]);
            insert.step(context);
            insert.reset();
            ++written;
            if (progress)
                progress(written);
        }
    }
    transaction.commit();
}

} // namespace legacy
