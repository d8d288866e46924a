#include "platform/jet/SqliteDatabase.h"

#include <memory>

#include <sqlite3.h>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/jet/ColumnValue.h"
#include "platform/jet/JetError.h"
#include "platform/jet/RowsAhead.h"
#include "platform/jet/SqlFunctions.h"
#include "platform/jet/SqliteError.h"
#include "platform/jet/SqliteJournalFiles.h"
#include "platform/jet/SqliteRecordset.h"
#include "platform/jet/SqliteStatement.h"
#include "platform/paths/NativePath.h"

namespace jet {

namespace {

constexpr int kBusyTimeoutMs = 5000;
// Waits for a lock the busy timeout did not get, before an online backup gives up.
constexpr int kBackupBusyRetries = 20;
constexpr int kBackupBusyRetryMs = 50;

QString openContext(const QString& path)
{
    return QStringLiteral("Could not open the database file '%1'").arg(path);
}

// The first bytes of the file, read through the connection's own descriptor. Opening the file
// a second time would be wrong: closing any descriptor of a file drops every POSIX lock this
// process holds on it, and another program would then take the diary's journal for unused.
QByteArray headerThroughConnection(sqlite3* db)
{
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file ||
        !file->pMethods)
        return {};
    QByteArray header(100, '\0');
    const int rc = file->pMethods->xRead(file, header.data(), int(header.size()), 0);
    if (rc == SQLITE_IOERR_SHORT_READ) {
        sqlite3_int64 size = 0;
        file->pMethods->xFileSize(file, &size);
        header.truncate(int(qBound<sqlite3_int64>(0, size, header.size())));
    } else if (rc != SQLITE_OK) {
        return {};
    }
    return header;
}

// A file SQLite refused as a database: say what it is, by name, without having written to it.
[[noreturn]] void refuseForeignFile(const QString& path, const QByteArray& header)
{
    const QString untouched = QStringLiteral(" It was left unchanged.");
    if (header.mid(4, 15) == "Standard Jet DB" || header.mid(4, 15) == "Standard ACE DB")
        throw JetError(errors::kUnrecognizedFormat,
                       QStringLiteral("The database file '%1' is in the Jet (.mdb) format, which "
                                      "this program does not open directly; bring its records "
                                      "over with the import.%2")
                           .arg(path, untouched));
    throw JetError(errors::kUnrecognizedFormat,
                   QStringLiteral("The file '%1' is not a diary database (it is damaged or of "
                                  "another kind).%2")
                       .arg(path, untouched));
}

// Copies every page of `from` into `to` in one step, so the copy is one moment's state.
void runBackup(sqlite3* to, sqlite3* from, const QString& context)
{
    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup)
        throwSqliteError(to, sqlite3_extended_errcode(to), context);
    int rc = SQLITE_OK;
    for (int waits = 0;;) {
        rc = sqlite3_backup_step(backup, -1);
        const int primary = rc & 0xff;
        if ((primary == SQLITE_BUSY || primary == SQLITE_LOCKED) && ++waits < kBackupBusyRetries) {
            sqlite3_sleep(kBackupBusyRetryMs);
            continue;
        }
        if (rc != SQLITE_OK)
            break;
    }
    // Finishing also leaves the step's error in `to` for the message.
    const int finished = sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        throwSqliteError(to, rc, context);
    checkSqlite(to, finished, context);
}

bool folderIsWritable(const QString& path)
{
    return ::access(files::nativePath(files::folderOf(path)).constData(), W_OK) == 0;
}

} // namespace

namespace {

// Only the directory entry is looked at here; the file itself is read through SQLite.
void requireDatabaseFile(const QString& path)
{
    struct stat info {};
    if (::stat(files::nativePath(path).constData(), &info) != 0 || S_ISDIR(info.st_mode))
        throw JetError(errors::kFileNotFound,
                       QStringLiteral("Could not find the database file '%1'.").arg(path));
    if (info.st_size == 0)
        throw JetError(errors::kUnrecognizedFormat,
                       QStringLiteral("The database file '%1' is empty, so it holds no diary. It "
                                      "was left unchanged; move it away to start a new diary.")
                           .arg(path));
}

bool fileIsWritable(const QString& path)
{
    return ::access(files::nativePath(path).constData(), W_OK) == 0;
}

} // namespace

std::shared_ptr<Database> Database::OpenDatabase(const QString& path,
                                                 const FileCheck& beforeWriting)
{
    requireDatabaseFile(path);
    // Another user who only read the diary may have left its journal files, which this user
    // cannot write; nobody needs them once nobody holds them.
    const JournalFiles journal(files::nativePath(path));
    if (fileIsWritable(path) && !journal.writable())
        journal.removeWhenUnused();
    try {
        return SqliteDatabase::open(path, SQLITE_OPEN_READWRITE, SqliteDatabase::OpenMode::Shared,
                                    beforeWriting);
    } catch (const JetError& error) {
        // A diary in a folder this user cannot write (a CD, a shared folder) is still read:
        // without the journal's index file SQLite can only read it as an unchanging file.
        if (folderIsWritable(path) || error.number() == errors::kUnrecognizedFormat)
            throw;
        return SqliteDatabase::open(path, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI,
                                    SqliteDatabase::OpenMode::Immutable, beforeWriting);
    }
}

std::shared_ptr<Database> Database::OpenDatabaseForReading(const QString& path,
                                                           const FileCheck& check)
{
    requireDatabaseFile(path);
    if (!folderIsWritable(path))
        return SqliteDatabase::open(path, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI,
                                    SqliteDatabase::OpenMode::Immutable, check);
    // A connection that may write the file folds and removes its journal when it closes last;
    // one that may not cannot, and removes what it made itself.
    return SqliteDatabase::open(path,
                                fileIsWritable(path) ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY,
                                SqliteDatabase::OpenMode::Reading, check);
}

std::shared_ptr<Database> Database::CreateDatabase(const QString& path)
{
    struct stat info {};
    if (::stat(files::nativePath(path).constData(), &info) == 0 &&
        (S_ISDIR(info.st_mode) || info.st_size > 0))
        throw JetError(errors::kEngineFailure,
                       QStringLiteral("Could not create the database file '%1': a file of that "
                                      "name exists already.")
                           .arg(path));
    return SqliteDatabase::open(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
}

std::shared_ptr<Database> SqliteDatabase::open(const QString& path, int flags, OpenMode mode,
                                               const FileCheck& check)
{
    QByteArray name = files::nativePath(path);
    const JournalFiles journal(name);
    const bool journalThere = journal.walExists() || journal.shmExists();
    if (mode == OpenMode::Immutable) {
        // A URI keeps '?' and '#' of a file name from being read as its parts.
        name = "file:" + files::nativePath(files::absolutePath(path)).toPercentEncoding("/") +
               "?immutable=1";
    }
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(name.constData(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        if (!db)
            throwSqliteError(nullptr, rc, openContext(path));
        try {
            throwSqliteError(db, rc, openContext(path));
        } catch (...) {
            sqlite3_close_v2(db);
            throw;
        }
    }
    auto database = std::make_shared<SqliteDatabase>(PrivateTag{}, path, db);
    database->m_reading = mode != OpenMode::Shared;
    database->m_removeJournalOnClose =
        mode == OpenMode::Reading && (flags & SQLITE_OPEN_READONLY) && !journalThere;
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    registerSqlFunctions(db);
    // The engine itself refuses a reader's writes (an unchanging file keeps its temporary
    // tables, where a report stages).
    if (mode == OpenMode::Reading)
        database->exec("PRAGMA query_only=1", openContext(path));
    // Reading the schema first proves the file is sound before anything is written to it.
    const int schemaRc =
        sqlite3_exec(db, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr);
    if ((schemaRc & 0xff) == SQLITE_NOTADB)
        refuseForeignFile(path, headerThroughConnection(db));
    if (schemaRc != SQLITE_OK)
        throwSqliteError(db, schemaRc, openContext(path));
    if (check)
        check(*database);
    if (database->isReadOnly())
        return database;
    database->exec("PRAGMA journal_mode=WAL", openContext(path));
    database->exec("PRAGMA synchronous=FULL", openContext(path));
    return database;
}

SqliteDatabase::SqliteDatabase(PrivateTag, QString path, sqlite3* handle) : m_db(handle)
{
    m_path = std::move(path);
}

SqliteDatabase::~SqliteDatabase()
{
    // An open transaction is rolled back by closing.
    sqlite3_close_v2(m_db);
    if (m_removeJournalOnClose)
        JournalFiles(files::nativePath(m_path)).removeWhenUnused();
}

std::unique_ptr<Recordset> SqliteDatabase::OpenRecordset(const QString& sql, RecordsetType type)
{
    requireNotReadAhead(*this);
    return std::make_unique<SqliteRecordset>(
        std::static_pointer_cast<SqliteDatabase>(shared_from_this()), sql, type);
}

void SqliteDatabase::exec(const char* sql, const QString& context)
{
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        throwSqliteError(m_db, rc, context);
}

void SqliteDatabase::ReadRows(const QString& sql, const RowReader& row)
{
    requireNotReadAhead(*this);
    SqliteStatement statement(m_db, sql);
    // Stepping an action query would run it; this only reads.
    if (!sqlite3_stmt_readonly(statement.get()) || sqlite3_column_count(statement.get()) == 0)
        throw JetError(errors::kInvalidOperation,
                       QStringLiteral("\"%1\" returns no rows to read").arg(sql));
    std::vector<ColumnKind> kinds;
    for (int i = 0; i < sqlite3_column_count(statement.get()); ++i)
        kinds.push_back(columnKindFromDeclaredType(sqlite3_column_decltype(statement.get(), i)));
    std::vector<QVariant> values(kinds.size());
    const QString context = QStringLiteral("Could not read the rows of \"%1\"").arg(sql);
    // One statement is one read transaction: every row comes from the same moment.
    while (statement.step(context)) {
        for (size_t i = 0; i < kinds.size(); ++i)
            values[i] = readColumnValue(statement.get(), int(i), kinds[i]);
        if (!row(values))
            break;
    }
    statement.reset();
}

void SqliteDatabase::Execute(const QString& sql)
{
    requireNotReadAhead(*this);
    SqliteStatement statement(m_db, sql);
    const QString context = QStringLiteral("The statement \"%1\" failed").arg(sql);
    while (statement.step(context)) {
    }
    if (m_depth == 0 && sqlite3_changes(m_db) > 0)
        Checkpoint();
}

bool SqliteDatabase::isReadOnly() const
{
    return m_reading || sqlite3_db_readonly(m_db, "main") == 1;
}

std::int64_t SqliteDatabase::DataVersion()
{
    requireNotReadAhead(*this);
    SqliteStatement statement(m_db, QStringLiteral("PRAGMA data_version"));
    statement.step(QStringLiteral("Could not read the database file's state"));
    return sqlite3_column_int64(statement.get(), 0);
}

void SqliteDatabase::Checkpoint()
{
    requireNotReadAhead(*this);
    // PASSIVE never waits: a reader elsewhere only leaves the newest pages for a later pass.
    sqlite3_wal_checkpoint_v2(m_db, "main", SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
}

void SqliteDatabase::BackupInto(const QString& file, const QString& context)
{
    requireNotReadAhead(*this);
    sqlite3* copy = nullptr;
    const int rc = sqlite3_open_v2(files::nativePath(file).constData(), &copy,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    std::unique_ptr<sqlite3, int (*)(sqlite3*)> closer(copy, sqlite3_close_v2);
    if (rc != SQLITE_OK)
        throwSqliteError(copy, rc, context);
    sqlite3_extended_result_codes(copy, 1);
    runBackup(copy, m_db, context);
    // The diary's WAL mark came over with its pages; a copy is one plain file.
    checkSqlite(copy, sqlite3_exec(copy, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr),
                context);
    checkSqlite(nullptr, sqlite3_close(closer.release()), context);
}

sqlite3* sqliteHandle(Database& file)
{
    if (auto* sqlite = dynamic_cast<SqliteDatabase*>(&file))
        return sqlite->handle();
    throw JetError(
        errors::kInvalidOperation,
        QStringLiteral("The diary '%1' lies on a server, not in a file.").arg(file.path()));
}

void SqliteDatabase::BeginTrans()
{
    requireNotReadAhead(*this);
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

void SqliteDatabase::CommitTrans()
{
    requireNotReadAhead(*this);
    if (m_depth == 0)
        throw JetError(errors::kNoTransaction,
                       QStringLiteral("CommitTrans without BeginTrans: no transaction is open."));
    if (sqlite3_get_autocommit(m_db)) {
        // sqlite already undid the transaction after a failure (disk full, I/O error).
        m_depth = 0;
        reloadRecordsetsAfterRollback();
        throw JetError(errors::kEngineFailure,
                       QStringLiteral("The transaction was undone after an earlier failure; "
                                      "none of its changes were saved."));
    }
    if (m_depth > 1) {
        exec(QByteArray("RELEASE jet_level_" + QByteArray::number(m_depth - 1)).constData(),
             QStringLiteral("Could not end a nested transaction"));
        --m_depth;
        return;
    }
    exec("COMMIT", QStringLiteral("Could not save the changes"));
    m_depth = 0;
    // The diary file itself then holds what was saved, even while the journal stays.
    Checkpoint();
}

void SqliteDatabase::Rollback()
{
    requireNotReadAhead(*this);
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
    reloadRecordsetsAfterRollback();
}

} // namespace jet
