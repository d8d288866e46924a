#include "backup/DiaryBackup.h"

#include <cerrno>
#include <functional>
#include <utility>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>

#include "backup/BackupConnection.h"
#include "backup/BackupFiles.h"
#include "backup/BackupSoundness.h"
#include "data/DiaryDatabase.h"
#include "data/DiarySchema.h"
#include "export/DiaryIdentity.h"
#include "platform/files/FileChecks.h"
#include "platform/files/NativeFiles.h"
#include "platform/files/SafeOutput.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetError.h"
#include "platform/jet/SqliteFile.h"
#include "platform/jet/SqliteStatement.h"
#include "platform/jet/Transaction.h"
#include "platform/paths/NativePath.h"

namespace backup {

namespace {

void requireWritableFolder(const QString& folder)
{
    // The folder of a diary or of a checked target is there: only backups/ may be missing.
    const QByteArray path = files::nativePath(folder);
    if ((::mkdir(path.constData(), 0777) != 0 && errno != EEXIST) || !files::isFolder(folder) ||
        ::access(path.constData(), W_OK) != 0)
        throw jet::JetError(jet::errors::kReadOnly,
                            QStringLiteral("The folder '%1' cannot be written, so no backup was "
                                           "made.")
                                .arg(QDir::toNativeSeparators(folder)));
}

// The copy under its private name, with the diary's permission bits; removed unless it was
// published.
class ScratchCopy {
public:
    ScratchCopy(const QString& target, const QString& diaryFile)
        : m_output(target, files::Privacy::LikeDiary, diaryFile)
    {
    }

    // The scratch file, empty, for the engine to write the copy into.
    QString file() { return m_output.handOver(); }
    // Moves the finished copy to its name unless a file took that name meanwhile (false then).
    bool publishAs(const QString& target)
    {
        if (files::absolutePath(target) == files::absolutePath(m_output.target()))
            return m_output.commitIfAbsent();
        return data::publishNewFile(m_output.handOver(), target);
    }

private:
    files::SafeOutput m_output;
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
void requireFile(const jet::Database& database)
{
    if (!database.isServer())
        return;
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
    const QString file = scratch.file();
    requireFile(source);
    source.BackupInto(file, context());
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
    if (files::exists(target))
        throw taken();
    bool first = true;
    writeCopy(source, files::folderOf(target), [&] {
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
std::optional<QString> backupDiaryId(const jet::SqliteFile& backup)
{
    try {
        jet::SqliteStatement id = backup.statement(
            QStringLiteral("SELECT diary_id FROM diary_identity WHERE "
                           "typeof(diary_id) = 'text' AND diary_id <> '' LIMIT 1"));
        if (id.step(QString()))
            return id.columnText(0);
    } catch (const jet::JetError&) {
        // A backup made before diaries had an id.
    }
    return std::nullopt;
}

// The `columns` of every row of the backup's `table` inserted into the diary's, as stored.
void copyRows(const BackupConnection& source, jet::Database& diary, const QString& table,
              const QStringList& columns, const QString& context)
{
    const QString list = columns.join(QStringLiteral(", "));
    QStringList marks;
    for (qsizetype i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    jet::SqliteStatement read =
        source.file().statement(QStringLiteral("SELECT %1 FROM %2").arg(list, table));
    jet::SqliteStatement write =
        jet::fileStatement(diary,
                           QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                               .arg(table, list, marks.join(QStringLiteral(", "))),
                           QString());
    while (read.step(context)) {
        for (int i = 0; i < int(columns.size()); ++i)
            write.bindColumn(i + 1, read, i);
        write.step(context);
        write.reset();
    }
}

// The deletions the backup kept replace the diary's, so a restored older backup keeps what it
// held: none, when it was made before deletions were kept.
void writeKeptDeletions(const BackupConnection& source, jet::Database& diary,
                        const QString& context)
{
    const QString table = QLatin1String(data::kKeptDeletionsTable);
    jet::SqliteStatement held = source.file().statement(
        QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = '%1'")
            .arg(table));
    const bool backupKeeps = held.step(context) && held.columnInt64(0) > 0;
    held.reset();
    if (!backupKeeps && !data::hasKeptDeletionsTable(diary))
        return;
    data::addKeptDeletionsTable(diary);
    diary.Execute(QStringLiteral("DELETE FROM %1").arg(table));
    if (!backupKeeps)
        return;
    jet::SqliteStatement names = jet::fileStatement(
        diary, QStringLiteral("SELECT name FROM pragma_table_info('%1')").arg(table), context);
    QStringList columns;
    while (names.step(context))
        columns << names.columnText(0);
    copyRows(source, diary, table, columns, context);
}

// Replaces the records of the three registers of `diary` (inside its open transaction) and its
// kept deletions by the backup's, each keeping its row key, and takes over the backup's diary id
// when it has one.
void writeRecords(const BackupConnection& source, jet::Database& diary, const QString& context)
{
    for (const char* name : {"local", "outstation", "tour"}) {
        const QString table = QLatin1String(name);
        diary.Execute(QStringLiteral("DELETE FROM %1").arg(table));
        copyRows(source, diary, table,
                 QStringList{QStringLiteral("rowid")} + data::registerColumns(table), context);
    }
    writeKeptDeletions(source, diary, context);
    // A backup older than the diary's id leaves the diary its id, so its calendar entries stay
    // the same; a backup with an id brings it back.
    const std::optional<QString> id = backupDiaryId(source.file());
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
    // Read without locks, the diary would be copied into itself while it is being written.
    const QString existing = data::findDiaryFile(diaryPath);
    // By device and inode: a hard link is the diary as much as a symbolic one.
    if (!existing.isEmpty() && files::sameFile(backupFile, existing))
        throw jet::JetError(jet::errors::kInvalidOperation,
                            QStringLiteral("'%1' is the diary itself, not a backup of it; nothing "
                                           "was restored.")
                                .arg(QDir::toNativeSeparators(backupFile)));
    BackupConnection source(backupFile);
    source.verify();
    auto live = data::OpenDiaryDatabase(diaryPath);
    const QString diary = QDir::toNativeSeparators(live->path());
    if (live->isReadOnly())
        throw jet::JetError(jet::errors::kReadOnly,
                            QStringLiteral("The diary '%1' cannot be written; nothing was "
                                           "restored.")
                                .arg(diary));
    requireFile(*live);
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
