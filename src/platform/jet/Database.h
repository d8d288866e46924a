#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <QString>

#include "platform/jet/RecordsetType.h"

struct sqlite3;

namespace jet {

class Recordset;

// One connection to a database file. Each window opens its own; the file is shared through
// SQLite's WAL journal, so a record set sees everything other connections committed before
// it was opened.
class Database : public std::enable_shared_from_this<Database> {
    struct PrivateTag {};

public:
    // Opens an existing SQLite file for reading and writing. A file that is not an SQLite
    // database is left untouched and reported by name.
    static std::shared_ptr<Database> OpenDatabase(const QString& path);
    // Makes a new, empty SQLite file at `path`, which must not exist yet (or be an empty
    // file made to reserve the name), and opens it.
    static std::shared_ptr<Database> CreateDatabase(const QString& path);

    Database(PrivateTag, QString path, sqlite3* handle);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    std::unique_ptr<Recordset> OpenRecordset(const QString& sql,
                                             RecordsetType type = RecordsetType::Dynaset);

    // Transactions nest; an inner Rollback undoes only its own part.
    void BeginTrans();
    void CommitTrans();
    void Rollback();
    int transactionDepth() const { return m_depth; }

    // Runs one statement that returns no rows; text after it is an error.
    void Execute(const QString& sql);

    // Whether the file can only be read here (a folder or file this user cannot write).
    bool isReadOnly() const;
    // Copies committed pages from the journal into the diary file; runs after every commit,
    // so the file alone holds every saved record.
    void Checkpoint();
    // A number that changes whenever another connection commits to the file (this
    // connection's own commits leave it as it is).
    std::int64_t DataVersion();

    QString path() const { return m_path; }
    sqlite3* handle() const { return m_db; }

private:
    friend class Recordset;
    enum class OpenMode { Shared, Immutable };
    static std::shared_ptr<Database> open(const QString& path, int flags,
                                          OpenMode mode = OpenMode::Shared);
    void attach(Recordset* recordset);
    void detach(Recordset* recordset);
    void exec(const char* sql, const QString& context);

    QString m_path;
    sqlite3* m_db;
    int m_depth = 0;
    std::vector<Recordset*> m_recordsets;
};

} // namespace jet
