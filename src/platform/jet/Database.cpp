#include "platform/jet/Database.h"

#include <algorithm>

#include <sqlite3.h>

#include <QFile>
#include <QFileInfo>

#include "platform/jet/JetError.h"
#include "platform/jet/Recordset.h"
#include "platform/jet/SqlFunctions.h"
#include "platform/jet/SqliteError.h"

namespace jet {

namespace {

constexpr int kBusyTimeoutMs = 5000;

// Refuses, by name and without writing a byte, any file that is not an SQLite database.
void checkIsSqliteFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        throw JetError(errors::kFileNotFound,
                       QStringLiteral("Could not find the database file '%1'.").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw JetError(errors::kReadOnly,
                       QStringLiteral("The database file '%1' cannot be read: %2")
                           .arg(path, file.errorString()));
    const QByteArray header = file.read(100);
    if (header.startsWith(QByteArrayView("SQLite format 3\0", 16)))
        return;
    const QString untouched = QStringLiteral(" It was left unchanged.");
    if (header.isEmpty())
        throw JetError(errors::kUnrecognizedFormat,
                       QStringLiteral("The database file '%1' is empty, so it holds no diary."
                                      "%2 Move it away to start a new diary.")
                           .arg(path, untouched));
    if (header.mid(4, 15) == "Standard Jet DB" || header.mid(4, 15) == "Standard ACE DB")
        throw JetError(errors::kUnrecognizedFormat,
                       QStringLiteral("The database file '%1' is a legacy Jet (.mdb) database "
                                      "of the old program, which this program does not read."
                                      "%2")
                           .arg(path, untouched));
    throw JetError(errors::kUnrecognizedFormat,
                   QStringLiteral("The file '%1' is not a database of this program (it is "
                                  "damaged or of another kind).%2")
                       .arg(path, untouched));
}

} // namespace

std::shared_ptr<Database> Database::OpenDatabase(const QString& path)
{
    checkIsSqliteFile(path);
    return open(path, SQLITE_OPEN_READWRITE);
}

std::shared_ptr<Database> Database::CreateDatabase(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists() && (info.isDir() || info.size() > 0))
        throw JetError(errors::kEngineFailure,
                       QStringLiteral("Could not create the database file '%1': a file of that "
                                      "name exists already.")
                           .arg(path));
    return open(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
}

std::shared_ptr<Database> Database::open(const QString& path, int flags)
{
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db,
                                   flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString context = QStringLiteral("Could not open the database file '%1'").arg(path);
        if (!db)
            throwSqliteError(nullptr, rc, context);
        try {
            throwSqliteError(db, rc, context);
        } catch (...) {
            sqlite3_close_v2(db);
            throw;
        }
    }
    auto database = std::make_shared<Database>(PrivateTag{}, path, db);
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    registerSqlFunctions(db);
    const QString context = QStringLiteral("Could not open the database file '%1'").arg(path);
    // Reading the schema first proves the file is sound before anything is written to it.
    database->exec("SELECT count(*) FROM sqlite_schema", context);
    database->exec("PRAGMA journal_mode=WAL", context);
    database->exec("PRAGMA synchronous=FULL", context);
    return database;
}

Database::Database(PrivateTag, QString path, sqlite3* handle)
    : m_path(std::move(path)), m_db(handle)
{
}

Database::~Database()
{
    // An open transaction is rolled back by closing.
    sqlite3_close_v2(m_db);
}

std::unique_ptr<Recordset> Database::OpenRecordset(const QString& sql, RecordsetType type)
{
    return std::unique_ptr<Recordset>(new Recordset(shared_from_this(), sql, type));
}

void Database::exec(const char* sql, const QString& context)
{
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        throwSqliteError(m_db, rc, context);
}

void Database::Execute(const QString& sql)
{
    exec(sql.toUtf8().constData(), QStringLiteral("The statement \"%1\" failed").arg(sql));
}

void Database::BeginTrans()
{
    if (m_depth == 0) {
        // IMMEDIATE takes the write lock now: a transaction that only later finds another
        // writer in the way could not wait for it.
        exec("BEGIN IMMEDIATE", QStringLiteral("Could not begin a transaction"));
    } else {
        exec(QByteArray("SAVEPOINT jet_level_" + QByteArray::number(m_depth)).constData(),
             QStringLiteral("Could not begin a nested transaction"));
    }
    ++m_depth;
}

void Database::CommitTrans()
{
    if (m_depth == 0)
        throw JetError(errors::kNoTransaction,
                       QStringLiteral("CommitTrans without BeginTrans: no transaction is open."));
    if (sqlite3_get_autocommit(m_db)) {
        // sqlite already undid the transaction after a failure (disk full, I/O error).
        m_depth = 0;
        for (Recordset* recordset : m_recordsets)
            recordset->reloadAfterRollback();
        throw JetError(errors::kEngineFailure,
                       QStringLiteral("The transaction was undone after an earlier failure; "
                                      "none of its changes were saved."));
    }
    if (m_depth == 1)
        exec("COMMIT", QStringLiteral("Could not save the changes"));
    else
        exec(QByteArray("RELEASE jet_level_" + QByteArray::number(m_depth - 1)).constData(),
             QStringLiteral("Could not end a nested transaction"));
    --m_depth;
}

void Database::Rollback()
{
    if (m_depth == 0)
        throw JetError(errors::kNoTransaction,
                       QStringLiteral("Rollback without BeginTrans: no transaction is open."));
    if (sqlite3_get_autocommit(m_db)) {
        // Already undone by sqlite after a failure; only our bookkeeping is left.
        m_depth = 1;
    } else if (m_depth == 1) {
        exec("ROLLBACK", QStringLiteral("Could not undo the transaction"));
    } else {
        const QByteArray name = "jet_level_" + QByteArray::number(m_depth - 1);
        exec(QByteArray("ROLLBACK TO " + name + "; RELEASE " + name).constData(),
             QStringLiteral("Could not undo the nested transaction"));
    }
    --m_depth;
    for (Recordset* recordset : m_recordsets)
        recordset->reloadAfterRollback();
}

void Database::attach(Recordset* recordset)
{
    m_recordsets.push_back(recordset);
}

void Database::detach(Recordset* recordset)
{
    m_recordsets.erase(std::remove(m_recordsets.begin(), m_recordsets.end(), recordset),
                       m_recordsets.end());
}

} // namespace jet
