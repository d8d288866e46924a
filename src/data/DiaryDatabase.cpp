#include "data/DiaryDatabase.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QHash>
#include <QSettings>

#include "data/DiarySchema.h"
#include "platform/files/FileChecks.h"
#include "platform/files/FileTexts.h"
#include "platform/files/FolderSync.h"
#include "platform/files/NativeFiles.h"
#include "platform/files/SafeOutput.h"
#include "platform/jet/ConnectionText.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetError.h"
#include "platform/paths/NativePath.h"

namespace data {

namespace {

struct SplitPath {
    QString folder;
    QString name;
};

SplitPath splitPath(const QString& path)
{
    const qsizetype at =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    QString folder = at < 0 ? QStringLiteral(".") : path.left(at);
    if (at == 0)
        folder = QStringLiteral("/");
    // A folder written with backslashes is a folder with slashes here.
    if (folder.contains(QLatin1Char('\\')) && !files::isFolder(folder))
        folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return {folder, path.mid(at + 1)};
}

QString spellingToCreate(const QString& name)
{
    const QString canonical = QString::fromLatin1(kDiaryFileName);
    return name.compare(canonical, Qt::CaseInsensitive) == 0 ? canonical : name;
}

void createDiaryFile(const SplitPath& where)
{
    if (!files::isFolder(where.folder))
        throw jet::JetError(jet::errors::kFileNotFound,
                            QStringLiteral("Could not create the database file: the folder '%1' "
                                           "does not exist.")
                                .arg(where.folder));
    // The new file is built under a private name and appears complete or not at all, so a
    // window opening at the same moment never sees a half-made diary; it never replaces one.
    const QString target = QDir(where.folder).filePath(spellingToCreate(where.name));
    files::SafeOutput output(target);
    const QString scratch = output.handOver();
    const auto removeJournal = [&scratch] {
        for (const char* suffix : {"-wal", "-shm", "-journal"})
            ::unlink(files::nativePath(scratch + QLatin1String(suffix)).constData());
    };
    try {
        {
            auto database = jet::Database::CreateDatabase(scratch);
            createDiarySchema(*database);
        }                        // closed, so the journal is folded into the file before it moves
        output.commitIfAbsent(); // false: another window made the diary first; theirs is used
    } catch (const jet::JetError& error) {
        removeJournal();
        // The private name means nothing to the user: name the diary and its folder.
        throw jet::JetError(
            error.number(),
            QStringLiteral("Could not create the database file '%1' (%2).")
                .arg(QDir::toNativeSeparators(target), error.text().replace(scratch, target)));
    } catch (...) {
        removeJournal();
        throw;
    }
    removeJournal();
}

QString findFile(const QString& path);

QString& programServerConnection()
{
    static QString connection;
    return connection;
}

// One connection per server for the whole program (see OpenDiaryDatabase).
std::shared_ptr<jet::Database> sharedServerConnection(const QString& connection)
{
    static QHash<QString, std::shared_ptr<jet::Database>> connections;
    auto& database = connections[connection];
    if (!database)
        database = jet::Database::ConnectServer(connection);
    return database;
}

QString settingsFileFor(const QString& path)
{
    const QDir folder(splitPath(path).folder);
    for (const QString& name : files::fileNames(folder.path())) {
        if (name.compare(QLatin1String(kSettingsFileName), Qt::CaseInsensitive) == 0 &&
            files::isFile(folder.filePath(name)))
            return folder.filePath(name);
    }
    return {};
}

// The setting as written, unchecked.
QString configuredConnection(const QString& path, QString* where = nullptr)
{
    if (!programServerConnection().isEmpty()) {
        if (where)
            *where = QStringLiteral("--server");
        return programServerConnection();
    }
    const QString file = settingsFileFor(path);
    if (file.isEmpty())
        return {};
    if (where)
        *where = QDir::toNativeSeparators(file);
    const QSettings settings(file, QSettings::IniFormat);
    return settings.value(QStringLiteral("server/connection")).toString().trimmed();
}

} // namespace

void refuseServerPassword(const QString& connection, const QString& where)
{
    if (jet::carriesPassword(connection))
        throw jet::JetError(jet::errors::kInvalidOperation,
                            QStringLiteral("The server setting in %1 holds a password. Keep it in "
                                           "~/.pgpass or a pg_service.conf entry instead; the "
                                           "diary was not opened.")
                                .arg(where));
}

void setServerConnection(const QString& connection)
{
    programServerConnection() = connection.trimmed();
}

QString serverConnectionFor(const QString& path)
{
    QString where;
    const QString connection = configuredConnection(path, &where);
    if (!connection.isEmpty())
        refuseServerPassword(connection, where);
    return connection;
}

bool publishNewFile(const QString& from, const QString& to)
{
    const int error = files::moveWithoutReplacing(from, to);
    if (error == EEXIST)
        return false;
    if (error != 0)
        throw jet::JetError(jet::errors::kEngineFailure,
                            QStringLiteral("Could not create the database file '%1': %2")
                                .arg(to, QString::fromLocal8Bit(std::strerror(error))));
    // The folder is synced too, so the new name outlives a power cut.
    files::syncFolder(files::folderOf(to));
    return true;
}

QString findDiaryFile(const QString& path)
{
    if (!programServerConnection().isEmpty())
        return programServerConnection();
    if (!configuredConnection(path).isEmpty())
        return settingsFileFor(path);
    return findFile(path);
}

namespace {

QString findFile(const QString& path)
{
    const SplitPath where = splitPath(path);
    const QDir folder(where.folder);
    // Read by bytes: QDir would give a name that is not UTF-8 as another name.
    QStringList matches;
    for (const QString& name : files::fileNames(where.folder)) {
        if (name.compare(where.name, Qt::CaseInsensitive) == 0 &&
            !files::isFolder(folder.filePath(name)))
            matches << name;
    }
    if (matches.isEmpty())
        return {};
    // Independent of the caller's spelling, so every window reaches the same file.
    const QString canonical = QString::fromLatin1(kDiaryFileName);
    return folder.filePath(matches.contains(canonical) ? canonical : matches.first());
}

} // namespace

std::shared_ptr<jet::Database> OpenDiaryDatabase(const QString& path)
{
    const QString connection = serverConnectionFor(path);
    if (!connection.isEmpty())
        return sharedServerConnection(connection);
    return OpenDiaryFile(path);
}

std::shared_ptr<jet::Database> OpenDiaryForReading(const QString& path)
{
    const QString connection = serverConnectionFor(path);
    if (!connection.isEmpty())
        return sharedServerConnection(connection);
    files::requireRegularFile(path, files::texts::diary);
    const QString file = findFile(path);
    if (file.isEmpty())
        throw jet::JetError(jet::errors::kFileNotFound,
                            QStringLiteral("Could not find the database file '%1'.").arg(path));
    files::requireRegularFile(file, files::texts::diary);
    auto database = jet::Database::OpenDatabaseForReading(file, requireDiaryLayout);
    files::protectDiary(file);
    return database;
}

std::shared_ptr<jet::Database> OpenDiaryFile(const QString& path)
{
    // A FIFO or a device would block the engine's first read; a folder is no diary either.
    files::requireRegularFile(path, files::texts::diary);
    QString file = findFile(path);
    if (file.isEmpty()) {
        createDiaryFile(splitPath(path));
        file = findFile(path);
        if (file.isEmpty()) {
            const SplitPath where = splitPath(path);
            throw jet::JetError(
                jet::errors::kFileNotFound,
                QStringLiteral("The database file '%1' could not be created "
                               "(is a folder of that name in the way?).")
                    .arg(QDir(where.folder).filePath(spellingToCreate(where.name))));
        }
    }
    files::requireRegularFile(file, files::texts::diary);
    auto database = jet::Database::OpenDatabase(file, requireSoundDiary);
    files::protectDiary(file);
    // A diary made by an earlier version gets the indexes it lacks, once per run.
    addMissingIndexes(*database);
    return database;
}

} // namespace data
