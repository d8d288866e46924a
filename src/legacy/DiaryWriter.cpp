#include "legacy/DiaryWriter.h"

#include <memory>

#include <sqlite3.h>

#include "legacy/LegacyError.h"
#include "platform/jet/Database.h"
#include "platform/jet/SqliteError.h"
#include "platform/jet/Transaction.h"

namespace legacy {

namespace {

struct StatementDeleter {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

Statement prepare(sqlite3* db, const QByteArray& sql, const QString& context)
{
    sqlite3_stmt* statement = nullptr;
    jet::checkSqlite(
        db, sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &statement, nullptr), context);
    return Statement(statement);
}

void refuseFilledDiary(sqlite3* db, const jet::Database& database,
                       const QList<ConvertedRegister>& registers)
{
    for (const ConvertedRegister& r : registers) {
        const QString context =
            QStringLiteral("Could not read the diary '%1'").arg(database.path());
        Statement count =
            prepare(db, QByteArray("SELECT count(*) FROM ") + r.layout->table, context);
        const int rc = sqlite3_step(count.get());
        if (rc != SQLITE_ROW)
            jet::throwSqliteError(db, rc, context);
        if (sqlite3_column_int64(count.get(), 0) > 0)
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
    sqlite3* db = database.handle();
    if (!db)
        throw LegacyError(QStringLiteral("The diary '%1' lies on a server: bring the records into "
                                         "a diary file, then copy that to the server with "
                                         "velmora-cli server init --from-diary. Nothing was "
                                         "changed.")
                              .arg(database.path()));
    jet::Transaction transaction(database);
    refuseFilledDiary(db, database, registers);
    int written = 0;
    for (const ConvertedRegister& r : registers) {
        const QString context =
            QStringLiteral("Could not write a record of '%1' into the diary '%2'")
                .arg(QLatin1String(r.layout->table), database.path());
        QByteArray sql = QByteArray("INSERT INTO ") + r.layout->table + " VALUES (?";
        for (qsizetype c = 1; c < r.layout->columns.size(); ++c)
            sql += ",?";
        sql += ')';
        Statement insert = prepare(db, sql, context);
        for (const DiaryRow& row : r.rows) {
            sqlite3_bind_int(insert.get(), 1, row.serial);
            for (qsizetype c = 0; c < row.values.size(); ++c) {
                const QByteArray& value = row.values[c];
                sqlite3_bind_text(insert.get(), int(c) + 2, value.constData(), int(value.size()),
                                  SQLITE_STATIC);
            }
            const int rc = sqlite3_step(insert.get());
            if (rc != SQLITE_DONE)
                jet::throwSqliteError(db, rc, context);
            sqlite3_reset(insert.get());
            ++written;
            if (progress)
                progress(written);
        }
    }
    transaction.commit();
}

} // namespace legacy
