#include "platform/files/FileChecks.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <QDir>
#include <QMutex>
#include <QStringList>

#include "platform/files/FileTexts.h"
#include "platform/files/NativeFiles.h"
#include "platform/jet/JetError.h"
#include "platform/paths/NativePath.h"

namespace files {

namespace {

constexpr const char* kJournalSuffixes[] = {"-wal", "-shm", "-journal"};

struct Protected {
    QMutex mutex;
    QStringList diaries; // canonical paths
};

Protected& protectedFiles()
{
    static Protected files;
    return files;
}

QStringList protectedDiaries()
{
    Protected& p = protectedFiles();
    const QMutexLocker lock(&p.mutex);
    return p.diaries;
}

bool statPath(const QString& path, struct stat* st)
{
    return ::stat(nativePath(path).constData(), st) == 0;
}

[[noreturn]] void refuse(int number, const QString& text, const QString& path)
{
    throw jet::JetError(number, text.arg(QDir::toNativeSeparators(path)));
}

// The diary or journal `path` names, by inode when it exists and by name when it does not.
void refuseDiaryFiles(const QString& path, const QString& shown)
{
    // The journal name of any file, held here or not: SQLite would take it for the journal.
    for (const char* suffix : kJournalSuffixes) {
        const QString stem = path.chopped(std::min<qsizetype>(path.size(), qstrlen(suffix)));
        if (path.endsWith(QLatin1String(suffix)) && isFile(stem))
            refuse(jet::errors::kInvalidOperation, texts::isJournal, shown);
    }
    const bool exists = files::exists(path);
    const QString absolute = absolutePath(path);
    for (const QString& diary : protectedDiaries()) {
        const auto matches = [&](const QString& file) {
            return exists ? sameFile(file, path) : file == absolute;
        };
        if (matches(diary))
            refuse(jet::errors::kInvalidOperation, texts::isDiary, shown);
        for (const char* suffix : kJournalSuffixes) {
            if (matches(diary + QLatin1String(suffix)))
                refuse(jet::errors::kInvalidOperation, texts::isJournal, shown);
        }
    }
}

// Where a write to `target` lands: a symbolic link is followed, also one naming a file that
// does not exist yet.
QString resolvedTarget(const QString& target)
{
    QString path = absolutePath(target);
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(nativePath(path).constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            break;
        const QString canonical = canonicalPath(path);
        if (!canonical.isEmpty())
            return canonical;
        // A link to a file that does not exist yet: its name is where the file will be.
        QByteArray link(st.st_size > 0 ? st.st_size + 1 : PATH_MAX, '\0');
        const ssize_t size = ::readlink(nativePath(path).constData(), link.data(), link.size());
        if (size < 0)
            break;
        const QString next = fromNativePath(QByteArrayView(link.constData(), size));
        path =
            absolutePath(next.startsWith(QLatin1Char('/')) ? next : folderOf(path) + u'/' + next);
    }
    // The folder in its canonical form, so a name compares with the diary's.
    const QString folder = canonicalPath(folderOf(path));
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    return folder.isEmpty() ? path : QDir(folder).filePath(name);
}

} // namespace

void protectDiary(const QString& diaryFile)
{
    const QString canonical = canonicalPath(diaryFile);
    if (canonical.isEmpty())
        return;
    Protected& p = protectedFiles();
    const QMutexLocker lock(&p.mutex);
    if (!p.diaries.contains(canonical))
        p.diaries << canonical;
}

QString checkOutputTarget(const QString& target)
{
    if (target.isEmpty() || target.endsWith(QLatin1Char('/')))
        refuse(jet::errors::kInvalidOperation, texts::isFolder, target);
    const QString path = resolvedTarget(target);
    struct stat st {};
    if (statPath(path, &st)) {
        if (S_ISDIR(st.st_mode))
            refuse(jet::errors::kInvalidOperation, texts::isFolder, target);
        if (!S_ISREG(st.st_mode))
            refuse(jet::errors::kInvalidOperation, texts::notRegular, target);
    }
    refuseDiaryFiles(path, target);
    const QString folder = folderOf(path);
    if (!isFolder(folder))
        refuse(jet::errors::kFileNotFound, texts::noFolder, target);
    if (::access(nativePath(folder).constData(), W_OK) != 0)
        refuse(jet::errors::kReadOnly, texts::folderReadOnly, target);
    return path;
}

void requireRoom(const QString& folder, qint64 bytes, const QString& shown)
{
    struct statvfs fs {};
    if (::statvfs(nativePath(folder).constData(), &fs) != 0)
        return;
    const qint64 free = qint64(fs.f_bavail) * qint64(fs.f_frsize);
    constexpr qint64 kMegabyte = 1024 * 1024;
    if (free < bytes)
        throw jet::JetError(jet::errors::kDiskFull,
                            texts::noRoom.arg(QDir::toNativeSeparators(shown))
                                .arg((bytes + kMegabyte - 1) / kMegabyte)
                                .arg(free / kMegabyte));
}

void requireRegularFile(const QString& path, const QString& what)
{
    struct stat st {};
    if (statPath(path, &st) && !S_ISREG(st.st_mode))
        throw jet::JetError(jet::errors::kInvalidOperation,
                            texts::inputNotRegular.arg(QDir::toNativeSeparators(path), what));
}

} // namespace files
