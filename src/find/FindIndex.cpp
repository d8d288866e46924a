#include "find/FindIndex.h"

#include <cerrno>
#include <sys/stat.h>

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>

#include "data/DiarySchema.h"
#include "export/DiaryIdentity.h"
#include "find/FindQuery.h"
#include "find/TextFolding.h"
#include "platform/files/SafeOutput.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetError.h"
#include "platform/jet/SqlLiteral.h"
#include "platform/jet/Transaction.h"
#include "platform/paths/NativePath.h"
#include "platform/varnel/VarnelCodec.h"

namespace find {

namespace {

// Between the keys of a row's fields in its index entry: no letter, so no rule of the loose
// key reaches across it.
constexpr QChar kFieldSeparator(0x1F);
// The index's name on the diary's connection.
const QString kAttached = QStringLiteral("find_index");
// How long a search waits for another program writing the index before it goes on without.
constexpr int kBusyMs = 250;
constexpr int kRowsPerStatement = 500;

QString indexTable(const QString& table)
{
    return QStringLiteral("find_%1_v%2").arg(table).arg(kLooseKeyRules);
}

// A row whose copies differ from its texts, or that has none.
QString staleCondition(const RegisterTexts& texts)
{
    QStringList same;
    for (const RegisterTexts::Column& column : texts.texts)
        same << QStringLiteral("f.%1 IS r.%1").arg(column.name);
    return QStringLiteral("(f.row_key IS NULL OR NOT (%1))")
        .arg(same.join(QStringLiteral(" AND ")));
}

// The folder and those above it that are missing, private to this user as caches are.
void makePrivateFolder(const QString& folder)
{
    const QByteArray path = files::nativePath(folder);
    for (qsizetype slash = path.indexOf('/', 1);; slash = path.indexOf('/', slash + 1)) {
        const QByteArray part = slash < 0 ? path : path.left(slash);
        if (::mkdir(part.constData(), 0700) != 0 && errno != EEXIST)
            throw jet::JetError(jet::errors::kDiskIo,
                                QStringLiteral("Could not make the folder '%1'.").arg(folder));
        if (slash < 0)
            return;
    }
}

QStringList tablesOf(jet::Database& cache)
{
    QStringList tables;
    cache.ReadRows(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"),
                   [&tables](std::vector<QVariant>& row) {
                       tables << row[0].toString();
                       return true;
                   });
    tables.sort();
    return tables;
}

// Gives the index file the tables of this version's rules and drops any others.
void layOut(jet::Database& cache)
{
    QStringList wanted;
    for (const data::Register which : data::kRegisterOrder)
        wanted << indexTable(data::tableName(which));
    wanted.sort();
    if (tablesOf(cache) == wanted)
        return;
    jet::Transaction transaction(cache);
    for (const QString& table : tablesOf(cache)) {
        if (!wanted.contains(table))
            cache.Execute(
                QStringLiteral("DROP TABLE \"%1\"")
                    .arg(QString(table).replace(QStringLiteral("\""), QStringLiteral("\"\""))));
    }
    for (const data::Register which : data::kRegisterOrder) {
        const RegisterTexts texts = registerTexts(which);
        // BLOB: no affinity touches the copies, nor a key of digits ("0123").
        QStringList columns{QStringLiteral("row_key INTEGER PRIMARY KEY")};
        for (const RegisterTexts::Column& column : texts.texts)
            columns << column.name + QStringLiteral(" BLOB");
        columns << QStringLiteral("loose BLOB");
        cache.Execute(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2)")
                          .arg(indexTable(texts.table), columns.join(QStringLiteral(", "))));
    }
    transaction.commit();
}

// Made aside and moved into place whole, so another program never opens half an index.
void createIndexFile(const QString& file)
{
    files::SafeOutput output(file);
    layOut(*jet::Database::CreateDatabase(output.handOver()));
    output.commitIfAbsent(); // one another program made meanwhile serves as well
}

std::shared_ptr<jet::Database> openIndexFile(const QString& file)
{
    makePrivateFolder(files::folderOf(file));
    for (int attempt = 0;; ++attempt) {
        struct stat info {};
        if (::stat(files::nativePath(file).constData(), &info) != 0)
            createIndexFile(file);
        try {
            auto cache = jet::Database::OpenDatabase(file);
            cache->Execute(QStringLiteral("PRAGMA busy_timeout = %1").arg(kBusyMs));
            // A power cut may cost a cache its last writes, never its soundness.
            cache->Execute(QStringLiteral("PRAGMA synchronous = NORMAL"));
            layOut(*cache);
            return cache;
        } catch (const jet::JetError& error) {
            // Not an SQLite file (empty, or something else): made anew, once.
            if (error.number() != jet::errors::kUnrecognizedFormat || attempt > 0)
                throw;
            ::unlink(files::nativePath(file).constData());
        }
    }
}

} // namespace

FindIndex::FindIndex(jet::Database& diary) : m_diary(diary)
{
    if (diary.isServer())
        return;
    try {
        const QString file = fileFor(diary);
        auto cache = openIndexFile(file);
        // Read only on the diary's connection, whatever that connection may do.
        const QByteArray uri =
            "file:" + files::nativePath(files::absolutePath(file)).toPercentEncoding("/") +
            "?mode=ro";
        diary.Execute(QStringLiteral("ATTACH %1 AS %2")
                          .arg(jet::SqlLiteral(QString::fromLatin1(uri)), kAttached));
        m_cache = std::move(cache);
    } catch (const jet::JetError&) {
        // No index now: this search goes row by row.
    }
}

FindIndex::~FindIndex()
{
    if (!m_cache)
        return;
    try {
        m_diary.Execute(QStringLiteral("DETACH ") + kAttached);
    } catch (const jet::JetError&) {
        // The connection is closing or failed; the attachment goes with it.
    }
}

QString FindIndex::fileFor(jet::Database& diary)
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty())
        throw jet::JetError(jet::errors::kFileNotFound, QStringLiteral("No cache folder."));
    // A diary older than ids is named by the id it will be given (the readers' door makes none).
    QString id = exports::storedDiaryId(diary).value_or(data::diaryIdOfPath(diary.path()));
    static const QRegularExpression plain(QStringLiteral("^[0-9A-Za-z-]{1,64}$"));
    if (!plain.match(id).hasMatch())
        id = QString::fromLatin1(
            QCryptographicHash::hash(id.toUtf8(), QCryptographicHash::Sha256).toHex().left(32));
    return cache + QStringLiteral("/Velmora/find-") + id + QStringLiteral(".sqlite");
}

// The columns are named, not "*": a server's table has its row identity among them.
QString FindIndex::everyRow(jet::Database& database, const RegisterTexts& texts)
{
    return QStringLiteral("SELECT %1, %2 FROM %3")
        .arg(database.rowIdentity(), texts.columns.join(QStringLiteral(", ")), texts.table);
}

QString FindIndex::candidates(const RegisterTexts& texts, const FindQuery& query) const
{
    if (!m_cache)
        return everyRow(m_diary, texts);
    const QString stale = staleCondition(texts);
    QString sql = QStringLiteral("SELECT r.rowid, r.%1, %2 FROM main.%3 r LEFT JOIN %4.%5 f ON "
                                 "f.row_key = r.rowid")
                      .arg(texts.columns.join(QStringLiteral(", r.")), stale, texts.table,
                           kAttached, indexTable(texts.table));
    if (!query.keyInfixes().isEmpty()) {
        QStringList terms{stale};
        for (const QString& infix : query.keyInfixes())
            terms << QStringLiteral("instr(f.loose, %1) > 0").arg(jet::SqlLiteral(infix));
        sql += QStringLiteral(" WHERE ") + terms.join(QStringLiteral(" OR "));
    }
    return sql;
}

bool FindIndex::refresh(const RegisterTexts& texts)
{
    if (!m_cache)
        return false;
    const QString table = indexTable(texts.table);
    QStringList names;
    QStringList read;
    QStringList copies;
    for (const RegisterTexts::Column& column : texts.texts) {
        names << column.name;
        read << QStringLiteral("r.") + column.name;
        copies << QStringLiteral("quote(r.%1)").arg(column.name);
    }
    const qsizetype fields = names.size();
    try {
        jet::Transaction transaction(*m_cache);
        // What is read comes through the diary's connection, the index as it stands attached.
        QStringList gone;
        m_diary.ReadRows(QStringLiteral("SELECT f.row_key FROM %1.%2 f WHERE NOT EXISTS (SELECT "
                                        "1 FROM main.%3 r WHERE r.rowid = f.row_key)")
                             .arg(kAttached, table, texts.table),
                         [&gone](std::vector<QVariant>& row) {
                             gone << row[0].toString();
                             return true;
                         });
        for (qsizetype at = 0; at < gone.size(); at += kRowsPerStatement)
            m_cache->Execute(QStringLiteral("DELETE FROM %1 WHERE row_key IN (%2)")
                                 .arg(table, gone.mid(at, kRowsPerStatement).join(',')));

        // Each entry: the copies as the register holds them (quoted by the engine, so a text
        // comes back as the same text and anything else as itself), and the key of the texts as
        // a search reads them.
        const QString insert =
            QStringLiteral("INSERT OR REPLACE INTO %1 (row_key, %2, loose) VALUES ")
                .arg(table, names.join(QStringLiteral(", ")));
        QStringList values;
        QString key;
        const auto write = [&] {
            if (!values.isEmpty())
                m_cache->Execute(insert + values.join(QLatin1Char(',')));
            values.clear();
        };
        m_diary.ReadRows(
            QStringLiteral("SELECT r.rowid, %1, %2 FROM main.%3 r LEFT JOIN %4.%5 f ON f.row_key = "
                           "r.rowid WHERE %6")
                .arg(read.join(QStringLiteral(", ")), copies.join(QStringLiteral(", ")),
                     texts.table, kAttached, table, staleCondition(texts)),
            [&](std::vector<QVariant>& row) {
                QString entry = QLatin1Char('(') + QString::number(row[0].toLongLong());
                QString keys;
                for (qsizetype c = 1; c <= fields; ++c) {
                    looseKey(varnel::decode(row[size_t(c)].toByteArray()), key);
                    if (c > 1)
                        keys += kFieldSeparator;
                    keys += key;
                    entry += QLatin1Char(',') + row[size_t(fields + c)].toString();
                }
                values << entry + QLatin1Char(',') + jet::SqlLiteral(keys) + QLatin1Char(')');
                if (values.size() == kRowsPerStatement)
                    write();
                return true;
            });
        write();
        transaction.commit();
        return true;
    } catch (const jet::JetError&) {
        return false;
    }
}

} // namespace find
