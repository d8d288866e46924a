#pragma once

#include <memory>
#include <optional>
#include <vector>

#include <QByteArray>
#include <QHash>

#include "platform/jet/Database.h"

struct pg_conn;
struct pg_result;

namespace jet {

struct PgResultDeleter {
    void operator()(pg_result* result) const;
};
// One statement's answer, freed with the object.
using PgResult = std::unique_ptr<pg_result, PgResultDeleter>;

// The column every register on the server carries after its documented ones: the row's
// identity, never shown as a field.
inline constexpr char kServerRowIdentity[] = "row_id";

// A diary on a PostgreSQL server, over libpq. Writers serialize on a table lock taken when
// the outermost transaction begins; readers are never held back. Every commit that changed a
// register reaches this connection as a change notice, other desks' and its own: all the
// windows of a desk share the connection, so one window's save is news to the others.
class PgDatabase final : public Database {
    struct PrivateTag {};

public:
    static std::shared_ptr<Database> connect(const QString& connection);

    PgDatabase(PrivateTag, QString connection, pg_conn* conn);
    ~PgDatabase() override;

    std::unique_ptr<Recordset> OpenRecordset(const QString& sql, RecordsetType type) override;
    void BeginTrans() override;
    void CommitTrans() override;
    void Rollback() override;
    void Execute(const QString& sql) override;
    bool isReadOnly() const override { return m_readOnly; }
    void Checkpoint() override {}
    void BackupInto(const QString& file, const QString& context) override;
    Backend backend() const override { return Backend::Server; }
    std::int64_t DataVersion() override;
    std::int64_t OwnDataVersionSteps() override;
    QString rowIdentity() const override { return QString::fromLatin1(kServerRowIdentity); }
    bool checksUniqueAtStatementEnd() const override { return true; }

    // Runs one statement with text parameters (nullopt is NULL). Throws JetError with
    // `context`.
    PgResult run(const QString& sql, const QString& context,
                 const std::vector<std::optional<QByteArray>>& parameters = {});
    // Changes whenever what this connection reads may have changed: its own writes and
    // other desks' notices. Record sets holding rows compare it before showing one; `poll`
    // looks for notices first (at most every few milliseconds, so walking rows stays cheap).
    std::uint64_t changeStamp(bool poll);
    void noteWrite() { ++m_writes; }
    // Whether `table` carries the identity column (asked once per table and connection).
    bool hasRowIdentity(const QString& table);

private:
    void setUpSession();
    void reconnectIfLost();
    void pollNotices();
    PgResult exec(const char* sql, const QString& context);
    PgResult tryExec(const char* sql, const QString& context, const char* acceptedState);
    [[noreturn]] void failed(pg_result* result, const QString& context);
    void beginWriting();
    void takeTransactionId(const PgResult& result);
    void commitOutermost();
    enum class Outcome { Committed, Aborted, Unknown };
    Outcome outcomeOfLostCommit();
    std::optional<Outcome> askOutcome();

    pg_conn* m_conn;
    QByteArray m_lockStatement; // "LOCK TABLE ..." or empty when no register exists
    bool m_readOnly = false;
    bool m_standby = false;     // a server that only reads (recovery, or read-only sessions)
    std::int64_t m_version = 0; // other desks' change notices, and reconnections
    std::int64_t m_own = 0;     // this connection's own commits' change notices
    std::uint64_t m_writes = 0;
    std::int64_t m_lastPollMs = 0;
    QHash<QString, bool> m_identityTables;
    // The outermost transaction's id and the server process that ran it, taken when it
    // began: a commit whose answer was lost is looked up by them.
    QByteArray m_transactionId;
    int m_transactionPid = 0;
};

} // namespace jet
