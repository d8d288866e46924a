#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include <QString>
#include <QVariant>

#include "platform/jet/RecordsetType.h"

namespace jet {

class Recordset;

// One connection to a diary: an SQLite file (each window opens its own; the file is shared
// through SQLite's WAL journal) or a PostgreSQL server shared by several desks. A record set
// sees everything other connections committed before it was opened. Callers never need to
// know which of the two they hold.
class Database : public std::enable_shared_from_this<Database> {
public:
    // Looks at a file before anything is written to it; throws JetError to refuse it.
    using FileCheck = std::function<void(Database&)>;

    // Opens an existing SQLite file for reading and writing. A file that is not an SQLite
    // database is left untouched and reported by name, as is one `beforeWriting` refuses (it
    // runs before the engine writes anything, its journal setting included).
    static std::shared_ptr<Database> OpenDatabase(const QString& path,
                                                  const FileCheck& beforeWriting = {});
    // Opens an existing SQLite file only to read it: the connection refuses every write
    // (isReadOnly), changes no setting of the file and leaves no journal file behind it that it
    // made. `check` runs once it is open.
    static std::shared_ptr<Database> OpenDatabaseForReading(const QString& path,
                                                            const FileCheck& check = {});
    // Makes a new, empty SQLite file at `path`, which must not exist yet (or be an empty
    // file made to reserve the name), and opens it.
    static std::shared_ptr<Database> CreateDatabase(const QString& path);
    // Connects to a PostgreSQL server: `connection` is a libpq connection string
    // ("host=... dbname=..." or "service=NAME"); the password comes from libpq's own files.
    static std::shared_ptr<Database> ConnectServer(const QString& connection);

    Database() = default;
    virtual ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    virtual std::unique_ptr<Recordset>
    OpenRecordset(const QString& sql, RecordsetType type = RecordsetType::Dynaset) = 0;

    // Transactions nest; an inner Rollback undoes only its own part. The outermost one is a
    // writer's: while it is open no other connection writes to the registers.
    virtual void BeginTrans() = 0;
    virtual void CommitTrans() = 0;
    virtual void Rollback() = 0;
    int transactionDepth() const { return m_depth; }

    // Runs one statement that returns no rows; text after it is an error.
    virtual void Execute(const QString& sql) = 0;

    // Reads the rows of a SELECT as one statement, so they are the diary as it stood at one
    // moment whatever other connections commit meanwhile, and hands each to `row` with its
    // values as a record set gives them (false from `row` stops); `row` may take the values
    // (move them out), they are not read again. A file holds only the current row; a server's
    // rows come as its one statement read them.
    using RowReader = std::function<bool(std::vector<QVariant>& values)>;
    virtual void ReadRows(const QString& sql, const RowReader& row);

    // Whether the diary can only be read here (a folder or file this user cannot write).
    virtual bool isReadOnly() const = 0;
    // Copies committed pages from the journal into the diary file; runs after every commit,
    // so the file alone holds every saved record. Nothing to do on a server.
    virtual void Checkpoint() = 0;
    // A number that changes whenever another connection commits to the diary (this
    // connection's own commits leave it as it is). On a server, where the windows of a desk
    // share one connection, it changes with each commit that changed a register, this
    // connection's own ones too.
    virtual std::int64_t DataVersion() = 0;
    // How many of DataVersion's steps this connection's own commits made (none on a file). A
    // window that wrote adds its own commit's steps to the version it has seen, so it never
    // takes its own save for another window's or program's.
    virtual std::int64_t OwnDataVersionSteps() { return 0; }

    // The column that names a row for good, usable in statements ("rowid" on a file, the
    // hidden identity column on a server).
    virtual QString rowIdentity() const = 0;
    // Whether a UNIQUE column is checked once at the end of each statement, so one UPDATE
    // may pass its values round (a server); false where it is checked row by row.
    virtual bool checksUniqueAtStatementEnd() const = 0;

    // Copies the committed state of the diary file into `file` (an empty file made for it)
    // through SQLite's online backup API: one moment's state, taken under the engine's own
    // locking, so other connections writing meanwhile neither block it nor leave half a record
    // in it. The copy is one self-contained file (no journal beside it). Throws JetError
    // starting with `context`; on a server, kInvalidOperation (a server keeps its own backups).
    virtual void BackupInto(const QString& file, const QString& context) = 0;

    // Where the diary lives.
    enum class Backend { File, Server };
    virtual Backend backend() const = 0;
    bool isServer() const { return backend() == Backend::Server; }
    // The file's path, or the server's connection text.
    QString path() const { return m_path; }

protected:
    friend class Recordset;
    void attach(Recordset* recordset);
    void detach(Recordset* recordset);
    // After a rollback every open set reads its rows afresh.
    void reloadRecordsetsAfterRollback();

    QString m_path;
    int m_depth = 0;

private:
    std::vector<Recordset*> m_recordsets;
};

} // namespace jet
