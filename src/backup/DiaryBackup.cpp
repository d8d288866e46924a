#include "backup/DiaryBackup.h"

#include <functional>
#include <utility>
#include <unistd.h>

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "backup/BackupConnection.h"
#include "backup/BackupFiles.h"
#include "backup/BackupSoundness.h"
#include "data/DiaryDatabase.h"
#include "data/DiarySchema.h"
#include "export/DiaryIdentity.h"
#include "platform/files/FileChecks.h"
#include "platform/files/SafeOutput.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetError.h"
#include "platform/jet/SqliteError.h"
#include "platform/jet/SqliteStatement.h"
#include "platform/jet/Transaction.h"

namespace backup {

namespace {

// Waits for a lock the engine's busy timeout did not get, before giving up.
constexpr int kBusyRetries = 20;
constexpr int kBusyRetryMs = 50;

// Copies every page of `from` into `to` in one step, so the copy is one moment's state.
void runBackup(sqlite3* to, sqlite3* from, const QString& context)
{
    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup)
        jet::throwSqliteError(to, sqlite3_extended_errcode(to), context);
    int rc = SQLITE_OK;
    for (int waits = 0;;) {
        rc = sqlite3_backup_step(backup, -1);
        const int primary = rc & 0xff;
        if ((primary == SQLITE_BUSY || primary == SQLITE_LOCKED) && ++waits < kBusyRetries) {
            sqlite3_sleep(kBusyRetryMs);
            continue;
        }
        if (rc != SQLITE_OK)
            break;
    }
    // Finishing also leaves the step's error in `to` for the message.
    const int finished = sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        jet::throwSqliteError(to, rc, context);
    jet::checkSqlite(to, finished, context);
}

void requireWritableFolder(const QString& folder)
{
    if (!QDir().mkpath(folder) || ::access(QFile::encodeName(folder).constData(), W_OK) != 0)
        throw jet::JetError(jet::errors::kReadOnly,
                            QStringLiteral("The folder '%1' cannot be written, so no backup was "
                                           "made.")
                                .arg(QDir::toNativeSeparators(folder)));
}

// The copy under its private name, with the diary's permission bits; removed with its journal
// unless it was published.
class ScratchCopy {
public:
    ScratchCopy(const QString& target, const QString& diaryFile)
        : m_output(target, files::Privacy::LikeDiary, diaryFile)
    {
    }
    ~ScratchCopy()
    {
        if (m_db)
            sqlite3_close_v2(m_db);
    }
    ScratchCopy(const ScratchCopy&) = delete;
    ScratchCopy& operator=(const ScratchCopy&) = delete;

    sqlite3* open(const QString& context)
    {
        const int rc = sqlite3_open_v2(QFile::encodeName(m_output.handOver()).constData(), &m_db,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
        if (rc != SQLITE_OK)
            jet::throwSqliteError(m_db, rc, context);
        sqlite3_extended_result_codes(m_db, 1);
        return m_db;
    }
    void close(const QString& context)
    {
        sqlite3* db = m_db;
        m_db = nullptr;
        jet::checkSqlite(nullptr, sqlite3_close(db), context);
    }
    // Moves the finished copy to its name unless a file took that name meanwhile (false then).
    bool publishAs(const QString& target)
    {
        if (QFileInfo(target).absoluteFilePath() == QFileInfo(m_output.target()).absoluteFilePath())
            return m_output.commitIfAbsent();
        return data::publishNewFile(m_output.handOver(), target);
    }

private:
    files::SafeOutput m_output;
    sqlite3* m_db = nullptr;
};

QString existingDiary(const QString& diaryPath)
{
    const QString file = data::findDiaryFile(diaryPath);
    if (file.isEmpty())
        throw jet::JetError(jet::errors::kFileNotFound,
                            QStringLiteral("Could not find the diary '%1'; nothing was backed up.")
                                .arg(QDir::toNativeSeparators(diaryPath)));
    return file;
}

// The backup API works on SQLite files; a diary shared from a server is backed up there.
sqlite3* fileHandle(jet::Database& database)
{
    if (sqlite3* handle = database.handle())
        return handle;
    throw jet::JetError(jet::errors::kInvalidOperation,
                        QStringLiteral("The diary '%1' lies on a server; back it up and restore "
                                       "it there (with the server's own tools).")
                            .arg(database.path()));
}

} // namespace

namespace {

// Copies `source` and publishes the copy under the first name `nextName` gives that no file
// holds by then: another program backing up the same diary at the same second takes a name
// between our look and our move, and the copy then moves to the next one. Returns the name.
QString writeCopy(jet::Database& source, const QString& folder,
                  const std::function<QString()>& nextName)
{
    QString target = nextName();
    const auto context = [&target] {
        return QStringLiteral("Could not write the backup '%1'")
            .arg(QDir::toNativeSeparators(target));
    };
    requireWritableFolder(folder);
    ScratchCopy scratch(target, source.isServer() ? QString() : source.path());
    sqlite3* copy = scratch.open(context());
    runBackup(copy, fileHandle(source), context());
    // The diary's WAL mark came over with its pages; a backup is one plain file.
    jet::checkSqlite(copy,
                     sqlite3_exec(copy, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr),
                     context());
    scratch.close(context());
    while (!scratch.publishAs(target))
        target = nextName();
    return target;
}

} // namespace

void copyDiary(jet::Database& source, const QString& target)
{
    const auto taken = [&target] {
        return jet::JetError(jet::errors::kEngineFailure,
                             QStringLiteral("Could not write the backup '%1': a file of that name "
                                            "exists already.")
                                 .arg(QDir::toNativeSeparators(target)));
    };
    files::checkOutputTarget(target);
    if (QFileInfo::exists(target))
        throw taken();
    bool first = true;
    writeCopy(source, QFileInfo(target).absolutePath(), [&] {
        if (!std::exchange(first, false))
            throw taken();
        return target;
    });
}

QString backupDiary(const QString& diaryPath, const QDateTime& now)
{
    const QString file = existingDiary(diaryPath);
    auto diary = data::OpenDiaryDatabase(file);
    const QString folder = backupFolderFor(file);
    const QString target =
        writeCopy(*diary, folder, [&folder, &now] { return newBackupPath(folder, now); });
    rotateBackups(folder);
    return target;
}

std::optional<QString> dailyBackup(const QString& diaryPath, const QDateTime& now)
{
    // A diary on a server is backed up there, not by each desk at its start.
    if (!data::serverConnectionFor(diaryPath).isEmpty())
        return std::nullopt;
    const QString file = data::findDiaryFile(diaryPath);
    if (file.isEmpty())
        return std::nullopt;
    const QStringList existing = backupFiles(backupFolderFor(file));
    if (!existing.isEmpty()) {
        const auto newest = parseBackupName(QFileInfo(existing.first()).fileName());
        if (newest && newest->taken.date() == now.date())
            return std::nullopt;
    }
    return backupDiary(file, now);
}

namespace {

std::function<void()>& beforeRestoreWrites()
{
    static std::function<void()> hook;
    return hook;
}

// The diary id a backup carries, if any.
std::optional<QString> backupDiaryId(sqlite3* backup)
{
    sqlite3_stmt* stmt = nullptr;
    std::optional<QString> id;
    if (sqlite3_prepare_v2(backup,
                           "SELECT diary_id FROM diary_identity WHERE typeof(diary_id) = 'text' "
                           "AND diary_id <> '' LIMIT 1",
                           -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        id = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    return id;
}

// Replaces the records of the three registers of `diary` (inside its open transaction) by the
// backup's, each keeping its row key, and takes over the backup's diary id when it has one.
void writeRecords(const BackupConnection& source, jet::Database& diary, const QString& context)
{
    for (const char* name : {"local", "outstation", "tour"}) {
        const QString table = QLatin1String(name);
        const QStringList columns = data::registerColumns(table);
        const QString list = QStringLiteral("rowid, ") + columns.join(QStringLiteral(", "));
        QStringList marks;
        for (qsizetype i = 0; i <= columns.size(); ++i)
            marks << QStringLiteral("?");
        diary.Execute(QStringLiteral("DELETE FROM %1").arg(table));
        jet::SqliteStatement read(source.handle(),
                                  QStringLiteral("SELECT %1 FROM %2").arg(list, table));
        jet::SqliteStatement write(diary.handle(),
                                   QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                       .arg(table, list, marks.join(QStringLiteral(", "))));
        while (read.step(context)) {
            for (int i = 0; i <= int(columns.size()); ++i)
                sqlite3_bind_value(write.get(), i + 1, sqlite3_column_value(read.get(), i));
            write.step(context);
            write.reset();
        }
    }
    // A backup older than the diary's id leaves the diary its id, so its calendar entries stay
    // the same; a backup with an id brings it back.
    const std::optional<QString> id = backupDiaryId(source.handle());
    if (id && exports::storedDiaryId(diary) != id) {
        if (exports::storedDiaryId(diary))
            diary.Execute(QStringLiteral("DELETE FROM diary_identity"));
        exports::storeDiaryId(diary, *id);
    }
}

} // namespace

namespace testing {

void setBeforeRestoreWrites(std::function<void()> hook)
{
    beforeRestoreWrites() = std::move(hook);
}

} // namespace testing

QString restoreBackup(const QString& backupFile, const QString& diaryPath, const QDateTime& now)
{
    BackupConnection source(backupFile);
    // Read without locks, the diary would be copied into itself while it is being written.
    const QString existing = data::findDiaryFile(diaryPath);
    if (!existing.isEmpty() &&
        QFileInfo(backupFile).canonicalFilePath() == QFileInfo(existing).canonicalFilePath())
        throw jet::JetError(jet::errors::kInvalidOperation,
                            QStringLiteral("'%1' is the diary itself, not a backup of it; nothing "
                                           "was restored.")
                                .arg(QDir::toNativeSeparators(backupFile)));
    source.verify();
    auto live = data::OpenDiaryDatabase(diaryPath);
    const QString diary = QDir::toNativeSeparators(live->path());
    if (live->isReadOnly())
        throw jet::JetError(jet::errors::kReadOnly,
                            QStringLiteral("The diary '%1' cannot be written; nothing was "
                                           "restored.")
                                .arg(diary));
    fileHandle(*live);
    // The diary's own backup is read through a second connection while this one holds the
    // write lock: readers of a WAL diary are not blocked by it, and no other program can
    // commit between that backup and the restore, so every save is in the one or waits for
    // the other.
    auto reader = data::OpenDiaryFile(live->path());
    const QString folder = backupFolderFor(live->path());

    jet::Transaction restore(*live);
    const QString previous =
        writeCopy(*reader, folder, [&folder, &now] { return newBackupPath(folder, now); });
    if (beforeRestoreWrites())
        beforeRestoreWrites()();
    writeRecords(source, *live,
                 QStringLiteral("Could not restore the backup '%1' into the diary '%2'; the "
                                "diary is as it was")
                     .arg(QDir::toNativeSeparators(backupFile), diary));
    restore.commit();
    // The backup just restored may be the oldest: it stays until the next backup.
    rotateBackups(folder, kKeptBackups, backupFile);
    return previous;
}

} // namespace backup
