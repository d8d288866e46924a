#pragma once

#include "platform/jet/Database.h"

struct sqlite3;

namespace jet {

// A diary in an SQLite file.
class SqliteDatabase final : public Database {
    struct PrivateTag {};

public:
    // Shared: a writer's connection, the file in WAL mode. Reading: a reader's, which writes
    // nothing. Immutable: a file in a folder nobody may write, read as it lies.
    enum class OpenMode { Shared, Reading, Immutable };
    static std::shared_ptr<Database> open(const QString& path, int flags,
                                          OpenMode mode = OpenMode::Shared,
                                          const FileCheck& check = {});

    SqliteDatabase(PrivateTag, QString path, sqlite3* handle);
    ~SqliteDatabase() override;

    std::unique_ptr<Recordset> OpenRecordset(const QString& sql, RecordsetType type) override;
    void BeginTrans() override;
    void CommitTrans() override;
    void Rollback() override;
    void Execute(const QString& sql) override;
    bool isReadOnly() const override;
    void Checkpoint() override;
    std::int64_t DataVersion() override;
    QString rowIdentity() const override { return QStringLiteral("rowid"); }
    void ReadRows(const QString& sql, const RowReader& row) override;
    bool checksUniqueAtStatementEnd() const override { return false; }
    void BackupInto(const QString& file, const QString& context) override;
    Backend backend() const override { return Backend::File; }
    // The connection, for the engine's own parts.
    sqlite3* handle() const { return m_db; }

private:
    void exec(const char* sql, const QString& context);

    sqlite3* m_db;
    bool m_reading = false;
    // A reader that could not write the file made its -wal and -shm: removed when it closes,
    // unless another program holds them by then.
    bool m_removeJournalOnClose = false;
};

// The SQLite connection of a diary file, for the engine's own parts and the tests that look
// below it. Throws JetError (kInvalidOperation) for a diary on a server.
sqlite3* sqliteHandle(Database& file);

} // namespace jet
