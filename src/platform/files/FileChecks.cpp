#include "platform/files/FileChecks.h"

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QStringList>

#include "platform/files/FileTexts.h"
#include "platform/jet/JetError.h"

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
    return ::stat(QFile::encodeName(path).constData(), st) == 0;
}

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
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
        if (path.endsWith(QLatin1String(suffix)) && QFileInfo(stem).isFile())
            refuse(jet::errors::kInvalidOperation, texts::isJournal, shown);
    }
    struct stat target {};
    const bool exists = statPath(path, &target);
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (const QString& diary : protectedDiaries()) {
        const auto matches = [&](const QString& file) {
            struct stat st {};
            if (exists)
                return statPath(file, &st) && sameFile(st, target);
            return file == absolute;
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
    QFileInfo info(target);
    for (int hops = 0; info.isSymLink() && hops < 40; ++hops) {
        const QString canonical = info.canonicalFilePath();
        if (!canonical.isEmpty())
            return canonical;
        info = QFileInfo(info.symLinkTarget());
    }
    // The folder in its canonical form, so a name compares with the diary's.
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : QDir(folder).filePath(info.fileName());
}

} // namespace

void protectDiary(const QString& diaryFile)
{
    const QString canonical = QFileInfo(diaryFile).canonicalFilePath();
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
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isDir())
        refuse(jet::errors::kFileNotFound, texts::noFolder, target);
    if (::access(QFile::encodeName(folder).constData(), W_OK) != 0)
        refuse(jet::errors::kReadOnly, texts::folderReadOnly, target);
    return path;
}

void requireRegularFile(const QString& path, const QString& what)
{
    struct stat st {};
    if (statPath(path, &st) && !S_ISREG(st.st_mode))
        throw jet::JetError(jet::errors::kInvalidOperation,
                            texts::inputNotRegular.arg(QDir::toNativeSeparators(path), what));
}

} // namespace files
