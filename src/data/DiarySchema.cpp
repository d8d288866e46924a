#include "data/DiarySchema.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QSet>
#include <QUuid>

#include "data/Register.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetError.h"
#include "platform/jet/Recordset.h"
#include "platform/jet/ServerSchema.h"
#include "platform/jet/Transaction.h"

namespace data {

namespace {

// Texts are never null: an empty field is ''. Registers keep every column filled.
const char* const kProgrammeRegister = " (sl_no INTEGER NOT NULL UNIQUE,"
                                       " tarna_date DATE NOT NULL,"
                                       " day_name TEXT NOT NULL DEFAULT '',"
                                       " tarna_time TIME NOT NULL,"
                                       " topic TEXT NOT NULL DEFAULT '',"
                                       " venue TEXT NOT NULL DEFAULT '',"
                                       " address TEXT NOT NULL DEFAULT '',"
                                       " telephone TEXT NOT NULL DEFAULT '',"
                                       " contact_person TEXT NOT NULL DEFAULT '',"
                                       " others TEXT NOT NULL DEFAULT '')";

const char* const kTourRegister = " (sl_no INTEGER NOT NULL UNIQUE,"
                                  " travel_from TEXT NOT NULL DEFAULT '',"
                                  " travel_to TEXT NOT NULL DEFAULT '',"
                                  " travel_date_from DATE NOT NULL,"
                                  " travel_day_from TEXT NOT NULL DEFAULT '',"
                                  " travel_time_from TIME NOT NULL,"
                                  " travel_date_to DATE NOT NULL,"
                                  " travel_day_to TEXT NOT NULL DEFAULT '',"
                                  " travel_time_to TIME NOT NULL,"
                                  " travel_type TEXT NOT NULL DEFAULT '',"
                                  " others TEXT NOT NULL DEFAULT '')";

// Staging rows: the source row with its times as "HH:mm" text, then the report's range.
const char* const kProgrammeStaging = " (sl_no INTEGER,"
                                      " tarna_date DATE,"
                                      " day_name TEXT NOT NULL DEFAULT '',"
                                      " tarna_time TEXT NOT NULL DEFAULT '',"
                                      " topic TEXT NOT NULL DEFAULT '',"
                                      " venue TEXT NOT NULL DEFAULT '',"
                                      " address TEXT NOT NULL DEFAULT '',"
                                      " telephone TEXT NOT NULL DEFAULT '',"
                                      " contact_person TEXT NOT NULL DEFAULT '',"
                                      " others TEXT NOT NULL DEFAULT '',"
                                      " range_from DATE,"
                                      " range_to DATE)";

const char* const kTourStaging = " (sl_no INTEGER,"
                                 " travel_from TEXT NOT NULL DEFAULT '',"
                                 " travel_to TEXT NOT NULL DEFAULT '',"
                                 " travel_date_from DATE,"
                                 " travel_day_from TEXT NOT NULL DEFAULT '',"
                                 " travel_time_from TEXT NOT NULL DEFAULT '',"
                                 " travel_date_to DATE,"
                                 " travel_day_to TEXT NOT NULL DEFAULT '',"
                                 " travel_time_to TEXT NOT NULL DEFAULT '',"
                                 " travel_type TEXT NOT NULL DEFAULT '',"
                                 " others TEXT NOT NULL DEFAULT '',"
                                 " range_from DATE,"
                                 " range_to DATE)";

// Added after the first diaries were made (older ones get it from addMissingIndexes): the tours
// still away on a day are found from their arrival.
QString tourByArrivalIndex(const char* create)
{
    return QLatin1String(create) +
           QStringLiteral(" tour_by_arrival ON tour (travel_date_to, travel_date_from)");
}

} // namespace

QStringList diarySchemaStatements()
{
    const auto table = [](const char* name, const char* columns) {
        return QStringLiteral("CREATE TABLE %1%2").arg(QLatin1String(name), QLatin1String(columns));
    };
    return {
        table("local", kProgrammeRegister),
        table("outstation", kProgrammeRegister),
        table("tour", kTourRegister),
        table("temp_local", kProgrammeStaging),
        table("temp_outstation", kProgrammeStaging),
        table("temp_tour", kTourStaging),
        QStringLiteral("CREATE INDEX local_by_date ON local (tarna_date, tarna_time)"),
        QStringLiteral("CREATE INDEX outstation_by_date ON outstation (tarna_date, tarna_time)"),
        QStringLiteral("CREATE INDEX tour_by_dates ON tour (travel_date_from, travel_date_to)"),
        tourByArrivalIndex("CREATE INDEX"),
    };
}

QString diaryIdOfPath(const QString& path)
{
    const QByteArray absolute = QFileInfo(path).absoluteFilePath().toUtf8();
    return QString::fromLatin1(
        QCryptographicHash::hash(absolute, QCryptographicHash::Sha256).toHex().left(32));
}

void requireDiaryLayout(jet::Database& database)
{
    if (database.isServer())
        return;
    for (const Register which : kRegisterOrder) {
        const QString table = tableName(which);
        const QStringList columns = registerColumns(table);
        const auto found = database.OpenRecordset(
            QStringLiteral("Select count(*) from pragma_table_info('%1') where name in ('%2')")
                .arg(table, columns.join(QStringLiteral("', '"))),
            jet::RecordsetType::Snapshot);
        if (found->Fields(0).Value().toInt() != columns.size())
            throw jet::JetError(jet::errors::kUnrecognizedFormat,
                                QStringLiteral("The file '%1' is not a diary: it has no register "
                                               "'%2' with the diary's columns. It was left "
                                               "unchanged.")
                                    .arg(database.path(), table));
    }
}

void requireSoundDiary(jet::Database& database)
{
    requireDiaryLayout(database);
    if (database.isServer())
        return;
    // Every page is read once per run: a file damaged later in the run is found by its reads.
    static QSet<QString> sound;
    if (sound.contains(database.path()))
        return;
    int faults = 0;
    try {
        const auto check = database.OpenRecordset(
            QStringLiteral("Select count(*) from pragma_quick_check where quick_check <> 'ok'"),
            jet::RecordsetType::Snapshot);
        faults = check->Fields(0).Value().toInt();
    } catch (const jet::JetError& error) {
        if (error.number() == jet::errors::kFileLocked)
            throw;
        faults = 1;
    }
    if (faults > 0)
        throw jet::JetError(jet::errors::kDamaged,
                            QStringLiteral("The diary file '%1' is damaged: SQLite's check of its "
                                           "pages found faults. Nothing was written to it; "
                                           "restore a backup.")
                                .arg(database.path()));
    sound.insert(database.path());
}

bool addMissingIndexes(jet::Database& database)
{
    if (database.isServer())
        return false;
    // Looked for once per diary and run of the program.
    static QSet<QString> complete;
    if (complete.contains(database.path()))
        return true;
    const auto count = [&database](const char* where) {
        return database
            .OpenRecordset(QStringLiteral("Select count(*) from sqlite_master where ") +
                               QLatin1String(where),
                           jet::RecordsetType::Snapshot)
            ->Fields(0)
            .Value()
            .toInt();
    };
    bool has = count("type='index' and name='tour_by_arrival'") == 1 &&
               count("type='table' and name = 'diary_identity'") == 1 &&
               count("type='table' and name in ('find_local', 'find_outstation', "
                     "'find_tour')") == 0;
    // Never inside a write (a save checking its clashes), which holds the save alone.
    if (!has && !database.isReadOnly() && database.transactionDepth() == 0) {
        try {
            // IF NOT EXISTS: two programs adding it at once leave one index. Earlier versions
            // kept a find index inside the diary, which now lives outside it as a cache.
            jet::Transaction transaction(database);
            database.Execute(tourByArrivalIndex("CREATE INDEX IF NOT EXISTS"));
            for (const char* table : {"find_local", "find_outstation", "find_tour"})
                database.Execute(
                    QStringLiteral("DROP TABLE IF EXISTS %1").arg(QLatin1String(table)));
            // A diary older than its identity keeps the one its readers have used for it.
            database.Execute(QStringLiteral(
                "CREATE TABLE IF NOT EXISTS diary_identity (diary_id TEXT NOT NULL)"));
            database.Execute(QStringLiteral("INSERT INTO diary_identity SELECT '%1' WHERE NOT "
                                            "EXISTS (SELECT 1 FROM diary_identity)")
                                 .arg(diaryIdOfPath(database.path())));
            transaction.commit();
            database.Checkpoint();
            has = true;
        } catch (const jet::JetError&) {
            // Only speed depends on the index: a diary busy past the engine's timeout gets it
            // another time.
        }
    }
    if (has)
        complete.insert(database.path());
    return has;
}

QStringList registerColumns(const QString& table)
{
    // The names between the parentheses of the table's layout, each ending at its first blank.
    const QString layout =
        QString::fromLatin1(table == QLatin1String("tour") ? kTourRegister : kProgrammeRegister);
    QStringList names;
    const QString inside = layout.mid(layout.indexOf(QLatin1Char('(')) + 1);
    for (const QString& column : inside.split(QLatin1Char(',')))
        names << column.trimmed().section(QLatin1Char(' '), 0, 0);
    return names;
}

QStringList diaryTableNames()
{
    return {QStringLiteral("local"),
            QStringLiteral("outstation"),
            QStringLiteral("tour"),
            QStringLiteral("temp_local"),
            QStringLiteral("temp_outstation"),
            QStringLiteral("temp_tour")};
}

void createDiarySchema(jet::Database& database)
{
    jet::Transaction transaction(database);
    for (const QString& statement : diarySchemaStatements())
        database.Execute(statement);
    // The diary's identity (export/DiaryIdentity.h) is made with it, so its calendar UIDs are
    // the same from every desk and copy, whoever exports first and whatever they may write.
    database.Execute(
        QStringLiteral("CREATE TABLE IF NOT EXISTS diary_identity (diary_id TEXT NOT NULL)"));
    database.Execute(QStringLiteral("INSERT INTO diary_identity VALUES ('%1')")
                         .arg(QUuid::createUuid().toString(QUuid::Id128)));
    transaction.commit();
}

namespace {

// "name TYPE" of each column of a register's layout after sl_no, without its constraints.
QStringList plainColumns(const char* layout)
{
    const QString text = QString::fromLatin1(layout);
    QStringList columns;
    for (const QString& clause :
         text.mid(text.indexOf(QLatin1Char('(')) + 1).split(QLatin1Char(',')))
        columns << clause.trimmed().section(QLatin1Char(' '), 0, 1);
    columns.removeFirst();
    return columns;
}

} // namespace

QStringList keptDeletionsStatements()
{
    // The programme registers' columns, then those only tours have: a kept record fills its own
    // register's columns and leaves the rest empty. AUTOINCREMENT: an id is never given twice,
    // so a listed id always names the deletion it was listed for.
    QStringList columns = plainColumns(kProgrammeRegister);
    for (const QString& column : plainColumns(kTourRegister)) {
        if (!columns.contains(column))
            columns << column;
    }
    return {QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (deletion_id INTEGER PRIMARY KEY "
                           "AUTOINCREMENT, register_name TEXT NOT NULL, sl_no INTEGER NOT NULL, "
                           "deleted_at TEXT NOT NULL, %2)")
                .arg(QLatin1String(kKeptDeletionsTable), columns.join(QStringLiteral(", "))),
            QStringLiteral("CREATE INDEX IF NOT EXISTS %1_by_register ON %1 (register_name, "
                           "deletion_id)")
                .arg(QLatin1String(kKeptDeletionsTable))};
}

bool hasKeptDeletionsTable(jet::Database& database)
{
    const QString sql =
        database.isServer()
            ? QStringLiteral("Select count(*) from pg_tables where schemaname = 'public' and "
                             "tablename = '%1'")
            : QStringLiteral("Select count(*) from sqlite_master where type = 'table' and name = "
                             "'%1'");
    const auto found = database.OpenRecordset(sql.arg(QLatin1String(kKeptDeletionsTable)),
                                              jet::RecordsetType::Snapshot);
    return found->Fields(0).Value().toInt() > 0;
}

void addKeptDeletionsTable(jet::Database& database)
{
    if (database.transactionDepth() == 0)
        throw jet::JetError(jet::errors::kNoTransaction,
                            QStringLiteral("The table of deleted records is made inside a write."));
    // Looked for first: a server desk that may write records need not be allowed to make tables.
    if (database.isServer() && hasKeptDeletionsTable(database))
        return;
    for (const QString& statement : keptDeletionsStatements())
        database.Execute(database.isServer() ? jet::serverFirstUseStatement(statement) : statement);
}

} // namespace data
