#include "platform/jet/PgDatabase.h"

#include <memory>

#include <libpq-fe.h>

#include <QDateTime>
#include <QThread>

#include "platform/jet/ConnectionText.h"
#include "platform/jet/JetError.h"
#include "platform/jet/RowsAhead.h"
#include "platform/jet/PgError.h"
#include "platform/jet/PgRecordset.h"
#include "platform/jet/ServerStatement.h"

namespace jet {

namespace {

// Other desks' commits to the registers arrive on this channel (see the server's triggers).
constexpr char kChangeChannel[] = "velmora_changes";
// A writer that keeps finding another desk writing waits this many times before it queues.
constexpr int kPoliteAttempts = 50;
constexpr char kLockBusy[] = "55P03";
constexpr std::int64_t kPollIntervalMs = 20;
// A commit whose answer was lost: how often a new connection is tried before its fate is
// called unknown, and how long a fate still "in progress" is waited for.
constexpr int kOutcomeConnectAttempts = 3;
constexpr int kOutcomeAttemptPauseMs = 400;
constexpr int kInProgressWaits = 50;
constexpr int kInProgressPauseMs = 100;

QByteArray savepoint(int level)
{
    return "jet_level_" + QByteArray::number(level);
}

} // namespace

void PgResultDeleter::operator()(pg_result* result) const
{
    PQclear(result);
}

std::shared_ptr<Database> Database::ConnectServer(const QString& connection)
{
    return PgDatabase::connect(connection);
}

std::shared_ptr<Database> PgDatabase::connect(const QString& connection)
{
    const QByteArray dsn = connection.toUtf8();
    // Settings before the desk's text are defaults it may change; those after it are what the
    // engine relies on (ISO dates, UTF-8). The timeouts keep a lost server from holding a
    // window: a refused or silent connection is reported within seconds.
    const char* const keys[] = {"connect_timeout",
                                "keepalives",
                                "keepalives_idle",
                                "keepalives_interval",
                                "keepalives_count",
                                "tcp_user_timeout",
                                "fallback_application_name",
                                "dbname",
                                "client_encoding",
                                "options",
                                nullptr};
    const char* const values[] = {"5",
                                  "1",
                                  "3",
                                  "1",
                                  "3",
                                  "5000",
                                  "velmora",
                                  dsn.constData(),
                                  "UTF8",
                                  "-c datestyle=ISO,YMD -c statement_timeout=30000 "
                                  "-c lock_timeout=15000",
                                  nullptr};
    PGconn* conn = PQconnectdbParams(keys, values, 1);
    if (!conn || PQstatus(conn) != CONNECTION_OK) {
        const std::unique_ptr<PGconn, decltype(&PQfinish)> failed(conn, &PQfinish);
        throwConnectError(conn, connection);
    }
    // The server's notices ("table does not exist, skipping") are not for the user.
    PQsetNoticeProcessor(
        conn, [](void*, const char*) {}, nullptr);
    auto database = std::make_shared<PgDatabase>(PrivateTag{}, connection, conn);
    database->setUpSession();
    return database;
}

PgDatabase::PgDatabase(PrivateTag, QString connection, pg_conn* conn) : m_conn(conn)
{
    // What a desk sees of its setting in a message: never a password.
    m_path = maskedConnection(connection);
}

PgDatabase::~PgDatabase()
{
    // An open transaction is rolled back by the server when the connection closes.
    PQfinish(m_conn);
}

// Listens for other desks' changes, learns which registers exist (the writers' lock takes
// them) and gives the connection its own staging tables, so two desks' reports never mix.
void PgDatabase::setUpSession()
{
    exec(QByteArray("LISTEN ").append(kChangeChannel).constData(),
         QStringLiteral("Could not listen for other desks' changes"));
    const PgResult state =
        run(QStringLiteral(
                "SELECT (SELECT coalesce(string_agg('public.' || t, ', ' ORDER BY o), '') "
                "FROM unnest(ARRAY['local', 'outstation', 'tour']) WITH ORDINALITY AS r(t, o) "
                "WHERE to_regclass('public.' || t) IS NOT NULL), "
                "pg_is_in_recovery() OR current_setting('transaction_read_only') = 'on' OR "
                "(to_regclass('public.local') IS NOT NULL AND "
                "NOT has_table_privilege('public.local', 'INSERT')), "
                "to_regprocedure('public.velmora_open_session()') IS NOT NULL, "
                "pg_is_in_recovery() OR current_setting('transaction_read_only') = 'on'"),
            QStringLiteral("Could not read the diary server's state"));
    const QByteArray registers = PQgetvalue(state.get(), 0, 0);
    m_readOnly = *PQgetvalue(state.get(), 0, 1) == 't';
    m_standby = *PQgetvalue(state.get(), 0, 3) == 't';
    // A desk that may only read writes nothing to the registers (a report stages into its own
    // temporary tables), so it takes no writer's lock, which its role may not take at all.
    m_lockStatement = registers.isEmpty() || m_readOnly
                          ? QByteArray()
                          : "LOCK TABLE " + registers + " IN SHARE ROW EXCLUSIVE MODE";
    // A role that may not write the registers still has staging tables of its own; only a
    // read-only session (a standby) can make none.
    if (*PQgetvalue(state.get(), 0, 2) == 't' && *PQgetvalue(state.get(), 0, 3) != 't') {
        try {
            exec("SELECT public.velmora_open_session()",
                 QStringLiteral("Could not make this desk's staging tables"));
        } catch (const JetError&) {
            // A role that may not even read the staging tables still lists and exports.
            if (!m_readOnly)
                throw;
        }
    }
}

void PgDatabase::reconnectIfLost()
{
    if (PQstatus(m_conn) == CONNECTION_OK)
        return;
    if (m_depth > 0)
        throw JetError(errors::kServerUnreachable,
                       QStringLiteral("The connection to the diary server '%1' broke; the "
                                      "unfinished change was not saved.")
                           .arg(m_path));
    PQreset(m_conn);
    if (PQstatus(m_conn) != CONNECTION_OK)
        throwConnectError(m_conn, m_path);
    // Whatever happened meanwhile is unknown: every window reads afresh.
    ++m_version;
    ++m_writes;
    setUpSession();
}

void PgDatabase::failed(pg_result* result, const QString& context)
{
    if (PQstatus(m_conn) != CONNECTION_OK) {
        ++m_version;
        ++m_writes;
        throw JetError(
            errors::kServerUnreachable,
            QStringLiteral("%1: the connection to the diary server '%2' broke (%3). "
                           "Nothing unfinished was saved.")
                .arg(context, m_path, QString::fromUtf8(PQerrorMessage(m_conn)).trimmed()));
    }
    // Outside a transaction a failed statement leaves nothing behind; a multi-statement
    // text of our own may have left one open.
    if (m_depth == 0 && PQtransactionStatus(m_conn) != PQTRANS_IDLE)
        PQclear(PQexec(m_conn, "ROLLBACK"));
    throwPgError(result, m_conn, context);
}

PgResult PgDatabase::run(const QString& sql, const QString& context,
                         const std::vector<std::optional<QByteArray>>& parameters)
{
    reconnectIfLost();
    const QByteArray text = sql.toUtf8();
    std::vector<const char*> values;
    values.reserve(parameters.size());
    for (const std::optional<QByteArray>& parameter : parameters)
        values.push_back(!parameter ? nullptr : parameter->isNull() ? "" : parameter->constData());
    PgResult result(PQexecParams(m_conn, text.constData(), int(values.size()), nullptr,
                                 values.data(), nullptr, nullptr, 0));
    const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        failed(result.get(), context);
    return result;
}

// Runs a statement text (several statements: the answer is the last one's).
PgResult PgDatabase::exec(const char* sql, const QString& context)
{
    reconnectIfLost();
    PgResult result(PQexec(m_conn, sql));
    const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        failed(result.get(), context);
    return result;
}

// Like exec, but a failure with `acceptedState` (after which the transaction is undone)
// answers no result instead of throwing.
PgResult PgDatabase::tryExec(const char* sql, const QString& context, const char* acceptedState)
{
    reconnectIfLost();
    PgResult result(PQexec(m_conn, sql));
    const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK)
        return result;
    const char* state = result ? PQresultErrorField(result.get(), PG_DIAG_SQLSTATE) : nullptr;
    if (state && qstrcmp(state, acceptedState) == 0 && PQstatus(m_conn) == CONNECTION_OK) {
        PQclear(PQexec(m_conn, "ROLLBACK"));
        return nullptr;
    }
    failed(result.get(), context);
}

// The server sends a commit's notices, this connection's own too, before it answers the
// COMMIT (or the single statement), so an own commit is counted as soon as it returned.
void PgDatabase::pollNotices()
{
    if (PQconsumeInput(m_conn) == 0)
        return; // a broken connection is reported by the next statement
    const int self = PQbackendPID(m_conn);
    while (PGnotify* notice = PQnotifies(m_conn)) {
        if (notice->be_pid == self)
            ++m_own;
        else
            ++m_version;
        PQfreemem(notice);
    }
}

// Counts every commit that changed a register, this connection's own ones as well: the
// windows sharing the connection learn of each other's saves as of another desk's. Staging a
// report writes no register and sends no notice.
std::int64_t PgDatabase::DataVersion()
{
    requireNotReadAhead(*this);
    pollNotices();
    return m_version + m_own;
}

std::int64_t PgDatabase::OwnDataVersionSteps()
{
    pollNotices();
    return m_own;
}

std::uint64_t PgDatabase::changeStamp(bool poll)
{
    if (poll) {
        const std::int64_t now = QDateTime::currentMSecsSinceEpoch();
        if (now - m_lastPollMs >= kPollIntervalMs || now < m_lastPollMs) {
            m_lastPollMs = now;
            pollNotices();
        }
    }
    return m_writes + std::uint64_t(m_version);
}

// Writers take the registers' lock when they begin, as a writer on the file does. A writer
// that finds another desk writing waits for it outside its own transaction, so that desk's
// change notice has arrived before this transaction reads anything.
// The transaction names itself in the same round trip as it begins: its id is what the server
// can be asked about when the answer to its COMMIT is lost.
void PgDatabase::beginWriting()
{
    const QString context = QStringLiteral("Could not begin a transaction");
    pollNotices();
    QByteArray named;
    if (!m_standby) {
        named = PQserverVersion(m_conn) >= 130000
                    ? "; SELECT pg_current_xact_id()::text, pg_backend_pid()"
                    : "; SELECT txid_current()::text, pg_backend_pid()";
    }
    if (m_lockStatement.isEmpty()) {
        takeTransactionId(exec(QByteArray("BEGIN" + named).constData(), context));
        return;
    }
    const QByteArray nowait = "BEGIN; " + m_lockStatement + " NOWAIT" + named;
    const QByteArray waitForOthers = "BEGIN; " + m_lockStatement + "; COMMIT";
    for (int attempt = 0; attempt < kPoliteAttempts; ++attempt) {
        if (PgResult begun = tryExec(nowait.constData(), context, kLockBusy)) {
            takeTransactionId(begun);
            return;
        }
        exec(waitForOthers.constData(), context);
        pollNotices();
    }
    takeTransactionId(exec(QByteArray("BEGIN; " + m_lockStatement + named).constData(), context));
}

void PgDatabase::takeTransactionId(const PgResult& result)
{
    m_transactionId.clear();
    m_transactionPid = 0;
    if (PQresultStatus(result.get()) == PGRES_TUPLES_OK && PQntuples(result.get()) == 1 &&
        PQnfields(result.get()) == 2) {
        m_transactionId = PQgetvalue(result.get(), 0, 0);
        m_transactionPid = QByteArray(PQgetvalue(result.get(), 0, 1)).toInt();
    }
}

void PgDatabase::BeginTrans()
{
    requireNotReadAhead(*this);
    if (m_depth == 0)
        beginWriting();
    else
        exec(QByteArray("SAVEPOINT " + savepoint(m_depth)).constData(),
             QStringLiteral("Could not begin a nested transaction"));
    ++m_depth;
}

void PgDatabase::CommitTrans()
{
    requireNotReadAhead(*this);
    if (m_depth == 0)
        throw JetError(errors::kNoTransaction,
                       QStringLiteral("CommitTrans without BeginTrans: no transaction is open."));
    reconnectIfLost();
    if (PQtransactionStatus(m_conn) == PQTRANS_INERROR) {
        // The server undoes a whole transaction after any failure in it.
        PQclear(PQexec(m_conn, "ROLLBACK"));
        m_depth = 0;
        ++m_writes;
        reloadRecordsetsAfterRollback();
        throw JetError(errors::kEngineFailure,
                       QStringLiteral("The transaction was undone after an earlier failure; "
                                      "none of its changes were saved."));
    }
    if (m_depth > 1) {
        exec(QByteArray("RELEASE " + savepoint(m_depth - 1)).constData(),
             QStringLiteral("Could not end a nested transaction"));
        --m_depth;
        return;
    }
    commitOutermost();
}

// A COMMIT whose answer never came may have been stored or not: the server is asked, so a
// stored change is reported as saved and never made a second time by a retry.
void PgDatabase::commitOutermost()
{
    const QString context = QStringLiteral("Could not save the changes");
    const PgResult result(PQexec(m_conn, "COMMIT"));
    const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
    if (status == PGRES_COMMAND_OK) {
        m_depth = 0;
        return;
    }
    if (PQstatus(m_conn) == CONNECTION_OK || m_transactionId.isEmpty()) {
        // The server answered (it undid the transaction), or a session that wrote nothing of
        // the diary's lost its staging.
        m_depth = 0;
        reloadRecordsetsAfterRollback();
        failed(result.get(), context);
    }
    const QString broke = QString::fromUtf8(PQerrorMessage(m_conn)).trimmed();
    m_depth = 0;
    ++m_version;
    ++m_writes;
    switch (outcomeOfLostCommit()) {
    case Outcome::Committed: return;
    case Outcome::Aborted:
        reloadRecordsetsAfterRollback();
        throw JetError(errors::kServerUnreachable,
                       QStringLiteral("%1: the connection to the diary server '%2' broke (%3). "
                                      "The server confirms the change was not stored.")
                           .arg(context, m_path, broke));
    case Outcome::Unknown: break;
    }
    // No connection to read the sets afresh now: they read again once the server is back.
    throw JetError(errors::kCommitOutcomeUnknown,
                   QStringLiteral("%1: the connection to the diary server '%2' broke (%3) while "
                                  "the change was being stored, and the server could not be "
                                  "asked since whether it was stored.")
                       .arg(context, m_path, broke));
}

// A new connection asks after the transaction; the old session, should the server still run
// it (it may not yet have seen the connection go), is ended first, so the transaction has a
// fate to tell. A few tries, then unknown.
PgDatabase::Outcome PgDatabase::outcomeOfLostCommit()
{
    for (int attempt = 0; attempt < kOutcomeConnectAttempts; ++attempt) {
        if (attempt > 0)
            QThread::msleep(kOutcomeAttemptPauseMs * attempt);
        PQreset(m_conn);
        if (PQstatus(m_conn) != CONNECTION_OK)
            continue;
        try {
            setUpSession();
            if (const std::optional<Outcome> outcome = askOutcome())
                return *outcome;
        } catch (const JetError&) {
            // The answer was lost too: ask again on a new connection.
        }
    }
    return Outcome::Unknown;
}

std::optional<PgDatabase::Outcome> PgDatabase::askOutcome()
{
    const QByteArray pid = QByteArray::number(m_transactionPid);
    try {
        run(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE pid = "
                           "$1::int AND backend_xid::text = ($2::bigint % 4294967296)::text"),
            QStringLiteral("Could not end the broken session"), {pid, m_transactionId});
    } catch (const JetError&) {
        // A role that may not end it: its transaction ends when the server sees it gone.
        if (PQstatus(m_conn) != CONNECTION_OK)
            throw;
    }
    const QString status = PQserverVersion(m_conn) >= 130000
                               ? QStringLiteral("SELECT pg_xact_status($1::xid8)")
                               : QStringLiteral("SELECT txid_status($1::bigint)");
    for (int wait = 0; wait < kInProgressWaits; ++wait) {
        const PgResult answer = run(status,
                                    QStringLiteral("Could not ask whether the change "
                                                   "was stored"),
                                    {m_transactionId});
        const QByteArray fate = PQgetvalue(answer.get(), 0, 0);
        if (fate == "committed")
            return Outcome::Committed;
        if (fate == "aborted")
            return Outcome::Aborted;
        if (fate != "in progress")
            return Outcome::Unknown; // too old for the server to remember
        QThread::msleep(kInProgressPauseMs);
    }
    return std::nullopt;
}

void PgDatabase::Rollback()
{
    requireNotReadAhead(*this);
    if (m_depth == 0)
        throw JetError(errors::kNoTransaction,
                       QStringLiteral("Rollback without BeginTrans: no transaction is open."));
    ++m_writes;
    if (PQstatus(m_conn) != CONNECTION_OK) {
        // The server undid it when the connection broke.
        m_depth = 0;
        return;
    }
    if (m_depth == 1) {
        m_depth = 0;
        exec("ROLLBACK", QStringLiteral("Could not undo the transaction"));
    } else {
        const QByteArray name = savepoint(m_depth - 1);
        --m_depth;
        exec(QByteArray("ROLLBACK TO " + name + "; RELEASE " + name).constData(),
             QStringLiteral("Could not undo the nested transaction"));
    }
    reloadRecordsetsAfterRollback();
}

void PgDatabase::Execute(const QString& sql)
{
    requireNotReadAhead(*this);
    const ServerStatement statement =
        serverStatement(sql, false, [this](const QString& name) { return hasRowIdentity(name); });
    run(statement.sql, QStringLiteral("The statement \"%1\" failed").arg(sql));
    ++m_writes;
}

void PgDatabase::BackupInto(const QString&, const QString& context)
{
    requireNotReadAhead(*this);
    throw JetError(errors::kInvalidOperation,
                   context + QStringLiteral(": the diary lies on a server, which keeps its own "
                                            "backups."));
}

bool PgDatabase::hasRowIdentity(const QString& table)
{
    const QString name = table.toLower();
    const auto known = m_identityTables.constFind(name);
    if (known != m_identityTables.constEnd())
        return *known;
    const PgResult result =
        run(QStringLiteral("SELECT EXISTS (SELECT 1 FROM pg_attribute WHERE attrelid = "
                           "to_regclass($1) AND attname = $2 AND NOT attisdropped)"),
            QStringLiteral("Could not read the columns of table '%1'").arg(table),
            {name.toUtf8(), QByteArray(kServerRowIdentity)});
    const bool has = *PQgetvalue(result.get(), 0, 0) == 't';
    m_identityTables.insert(name, has);
    return has;
}

std::unique_ptr<Recordset> PgDatabase::OpenRecordset(const QString& sql, RecordsetType type)
{
    requireNotReadAhead(*this);
    return std::make_unique<PgRecordset>(std::static_pointer_cast<PgDatabase>(shared_from_this()),
                                         sql, type);
}

} // namespace jet
