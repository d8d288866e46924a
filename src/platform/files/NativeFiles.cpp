#include "platform/files/NativeFiles.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>

#include "platform/paths/NativePath.h"

namespace files {

namespace {

mode_t typeOf(const QString& path)
{
    struct stat st {};
    return ::stat(nativePath(path).constData(), &st) == 0 ? st.st_mode & S_IFMT : 0;
}

} // namespace

bool exists(const QString& path)
{
    return typeOf(path) != 0;
}

bool isFile(const QString& path)
{
    return typeOf(path) == S_IFREG;
}

bool isFolder(const QString& path)
{
    return typeOf(path) == S_IFDIR;
}

bool sameFile(const QString& a, const QString& b)
{
    struct stat first {};
    struct stat second {};
    return ::stat(nativePath(a).constData(), &first) == 0 &&
           ::stat(nativePath(b).constData(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

QString canonicalPath(const QString& path)
{
    if (path.isEmpty())
        return {};
    const std::unique_ptr<char, decltype(&std::free)> resolved(
        ::realpath(nativePath(path).constData(), nullptr), std::free);
    return resolved ? fromNativePath(resolved.get()) : QString();
}

QStringList fileNames(const QString& folder)
{
    const auto close = [](DIR* dir) { ::closedir(dir); };
    const std::unique_ptr<DIR, decltype(close)> dir(::opendir(nativePath(folder).constData()),
                                                    close);
    QList<QByteArray> names;
    while (dir) {
        const dirent* entry = ::readdir(dir.get());
        if (!entry)
            break;
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names << name;
    }
    std::sort(names.begin(), names.end());
    QStringList decoded;
    decoded.reserve(names.size());
    for (const QByteArray& name : names)
        decoded << fromNativePath(name);
    return decoded;
}

} // namespace files
