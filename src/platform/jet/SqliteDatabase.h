#pragma once

#include "platform/jet/Database.h"

namespace jet {

// A diary in an SQLite file.
class SqliteDatabase final : public Database {
    struct PrivateTag {};

public:
    enum class OpenMode { Shared, Immutable };
    static std::shared_ptr<Database> open(const QString& path, int flags,
                                          OpenMode mode = OpenMode::Shared);

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
    bool checksUniqueAtStatementEnd() const override { return false; }
    sqlite3* handle() const override { return m_db; }

private:
    void exec(const char* sql, const QString& context);

    sqlite3* m_db;
};

} // namespace jet
