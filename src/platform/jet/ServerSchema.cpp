#include "platform/jet/ServerSchema.h"

#include <memory>

#include <libpq-fe.h>

#include <QDate>
#include <QRegularExpression>
#include <QStringList>
#include <QTime>

#include "platform/jet/JetError.h"
#include "platform/jet/PgDatabase.h"
#include "platform/jet/Recordset.h"
#include "platform/jet/SqlLiteral.h"
#include "platform/jet/Transaction.h"

namespace jet {

namespace {

const char* const kRegisters[] = {"local", "outstation", "tour"};
const char* const kStaging[] = {"temp_local", "temp_outstation", "temp_tour"};
constexpr int kRowsPerInsert = 1000;

PgDatabase& serverOf(Database& database)
{
    auto* server = dynamic_cast<PgDatabase*>(&database);
    if (!server)
        throw JetError(errors::kInvalidOperation,
                       QStringLiteral("Invalid operation: '%1' is a diary file, not a server.")
                           .arg(database.path()));
    return *server;
}

// A value read from the file as a literal the server stores identically.
QString literal(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return QStringLiteral("NULL");
    switch (value.typeId()) {
    case QMetaType::QByteArray: return SqlLiteral(QString::fromLatin1(value.toByteArray()));
    case QMetaType::QDate: return SqlLiteral(value.toDate().toString(Qt::ISODate));
    case QMetaType::QTime: return SqlLiteral(value.toTime().toString(QStringLiteral("HH:mm:ss")));
    case QMetaType::Int:
    case QMetaType::LongLong: return QString::number(value.toLongLong());
    default: return SqlLiteral(value.toString());
    }
}

// Every row of `table` of `file` into the server's table of that name, in the file's order,
// inside the caller's transaction. A row keeps its number: the server's identity column takes
// the file's (its own column of that name, or else the row's key), so calendar UIDs and kept
// deletions' ids are the same before and after the move.
void copyTable(Database& file, PgDatabase& server, const QString& table)
{
    const QString context = QStringLiteral("Could not copy the table '%1'").arg(table);
    const PgResult identities = server.run(
        QStringLiteral("SELECT attname FROM pg_attribute WHERE attrelid = 'public.%1'::regclass "
                       "AND attidentity <> '' AND NOT attisdropped")
            .arg(table),
        context);
    const QString identity = PQntuples(identities.get()) > 0
                                 ? QString::fromUtf8(PQgetvalue(identities.get(), 0, 0))
                                 : QString();
    const auto rows =
        file.OpenRecordset(QStringLiteral("Select rowid, * from %1 order by rowid").arg(table),
                           RecordsetType::Snapshot);
    QStringList names;
    QList<int> copied;
    for (int i = 1; i < rows->FieldCount(); ++i) {
        names << rows->Fields(i).Name();
        copied << i;
    }
    if (!identity.isEmpty() && !names.contains(identity)) {
        names.prepend(identity);
        copied.prepend(0);
    }
    const QString head =
        QStringLiteral("INSERT INTO public.%1 (%2) OVERRIDING SYSTEM VALUE VALUES ")
            .arg(table, names.join(QLatin1Char(',')));
    QStringList values;
    const auto flush = [&] {
        if (values.isEmpty())
            return;
        server.run(head + values.join(QLatin1Char(',')), context);
        values.clear();
    };
    for (; !rows->Eof(); rows->MoveNext()) {
        QStringList row;
        for (int i : copied)
            row << literal(rows->Fields(i).Value());
        values << QLatin1Char('(') + row.join(QLatin1Char(',')) + QLatin1Char(')');
        if (values.size() == kRowsPerInsert)
            flush();
    }
    flush();
    // The next row the server numbers comes after the last one copied.
    if (!identity.isEmpty())
        server.run(QStringLiteral("SELECT setval(pg_get_serial_sequence('public.%1', '%2'), "
                                  "max(%2)) FROM public.%1 HAVING count(*) > 0")
                       .arg(table, identity),
                   context);
}

} // namespace

QStringList serverSchemaStatements(const QStringList& fileSchemaStatements)
{
    static const QRegularExpression unique(QStringLiteral("\\bUNIQUE\\b"));
    QStringList out;
    for (QString statement : fileSchemaStatements) {
        if (statement.startsWith(QLatin1String("CREATE TABLE"))) {
            // One UPDATE may renumber a register: UNIQUE is checked at the statement's end.
            statement.replace(unique, QStringLiteral("UNIQUE DEFERRABLE INITIALLY IMMEDIATE"));
            const qsizetype close = statement.lastIndexOf(QLatin1Char(')'));
            statement.insert(close, QStringLiteral(", %1 bigint GENERATED ALWAYS AS IDENTITY "
                                                   "PRIMARY KEY")
                                        .arg(QLatin1String(kServerRowIdentity)));
        }
        out << statement;
    }
    out << QStringLiteral("CREATE TABLE velmora_schema (version integer NOT NULL)")
        << QStringLiteral("INSERT INTO velmora_schema VALUES (%1)").arg(kServerSchemaVersion)
        // The dates and times of the statements are read on the desk and arrive in ISO form.
        << QStringLiteral("CREATE FUNCTION datevalue(text) RETURNS date LANGUAGE sql IMMUTABLE "
                          "STRICT AS $$ SELECT $1::date $$")
        << QStringLiteral("CREATE FUNCTION timevalue(text) RETURNS time LANGUAGE sql IMMUTABLE "
                          "STRICT AS $$ SELECT $1::time $$")
        << QStringLiteral("CREATE FUNCTION strftime(text, time) RETURNS text LANGUAGE sql "
                          "IMMUTABLE STRICT AS $$ SELECT to_char($2::interval, replace(replace("
                          "replace($1, '%H', 'HH24'), '%M', 'MI'), '%S', 'SS')) $$")
        << QStringLiteral("CREATE FUNCTION velmora_notify() RETURNS trigger LANGUAGE plpgsql AS "
                          "$$ BEGIN PERFORM pg_notify('velmora_changes', TG_TABLE_NAME); "
                          "RETURN NULL; END $$");
    for (const char* table : kRegisters)
        out << QStringLiteral("CREATE TRIGGER %1_changed AFTER INSERT OR UPDATE OR DELETE OR "
                              "TRUNCATE ON %1 FOR EACH STATEMENT EXECUTE FUNCTION "
                              "velmora_notify()")
                   .arg(QLatin1String(table));
    // Each connection stages its reports in temporary tables of its own, which stand in
    // front of the shared ones: two desks' reports never mix rows.
    QString session = QStringLiteral("CREATE FUNCTION velmora_open_session() RETURNS void "
                                     "LANGUAGE plpgsql AS $$ BEGIN ");
    for (const char* table : kStaging)
        session += QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS %1 (LIKE public.%1 INCLUDING "
                                  "DEFAULTS INCLUDING IDENTITY); ")
                       .arg(QLatin1String(table));
    out << session + QStringLiteral("END $$");
    return out;
}

QString serverFirstUseStatement(QString fileStatement)
{
    return fileStatement.replace(QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT"),
                                 QStringLiteral("bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY"));
}

void initServerDiary(Database& database, const QStringList& fileSchemaStatements,
                     Database* copyFrom, const FirstUseTables& alsoCopied)
{
    PgDatabase& server = serverOf(database);
    Transaction transaction(server);
    const PgResult existing = server.run(
        QStringLiteral("SELECT count(*) FROM pg_class c JOIN pg_namespace n ON n.oid = "
                       "c.relnamespace WHERE n.nspname = 'public' AND c.relname IN ('local', "
                       "'outstation', 'tour', 'temp_local', 'temp_outstation', 'temp_tour', "
                       "'velmora_schema')"),
        QStringLiteral("Could not look at the server database"));
    if (QByteArray(PQgetvalue(existing.get(), 0, 0)) != "0")
        throw JetError(errors::kInvalidOperation,
                       QStringLiteral("The server database '%1' already holds a diary (or tables "
                                      "of one); nothing was changed.")
                           .arg(server.path()));
    for (const QString& statement : serverSchemaStatements(fileSchemaStatements))
        server.run(statement, QStringLiteral("Could not lay the diary out on the server"));
    if (copyFrom)
        copyRegistersToServer(*copyFrom, server);
    for (const QString& statement : alsoCopied.statements)
        server.run(serverFirstUseStatement(statement),
                   QStringLiteral("Could not lay the diary out on the server"));
    if (copyFrom) {
        for (const QString& table : alsoCopied.names)
            copyTable(*copyFrom, server, table);
    }
    transaction.commit();
}

void copyRegistersToServer(Database& file, Database& database)
{
    PgDatabase& server = serverOf(database);
    for (const char* table : kRegisters)
        copyTable(file, server, QLatin1String(table));
    server.noteWrite();
}

ServerDiaryState readServerDiaryState(Database& database)
{
    PgDatabase& server = serverOf(database);
    ServerDiaryState state;
    const PgResult exists =
        server.run(QStringLiteral("SELECT to_regclass('public.velmora_schema') IS NOT NULL"),
                   QStringLiteral("Could not look at the server database"));
    if (*PQgetvalue(exists.get(), 0, 0) != 't')
        return state;
    const PgResult version =
        server.run(QStringLiteral("SELECT coalesce(max(version), 0) FROM public.velmora_schema"),
                   QStringLiteral("Could not read the diary's schema version"));
    state.schemaVersion = QByteArray(PQgetvalue(version.get(), 0, 0)).toInt();
    for (const char* table : kRegisters) {
        const PgResult count = server.run(
            QStringLiteral("SELECT count(*) FROM public.%1").arg(QLatin1String(table)),
            QStringLiteral("Could not count the register '%1'").arg(QLatin1String(table)));
        state.counts.append(
            {QLatin1String(table), QByteArray(PQgetvalue(count.get(), 0, 0)).toInt()});
    }
    return state;
}

} // namespace jet
