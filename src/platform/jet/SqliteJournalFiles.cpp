#include "platform/jet/SqliteJournalFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace jet {

namespace {

bool exists(const QByteArray& path)
{
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0;
}

bool writableIfThere(const QByteArray& path)
{
    return !exists(path) || ::access(path.constData(), W_OK) == 0;
}

} // namespace

bool JournalFiles::walExists() const
{
    return exists(wal());
}

bool JournalFiles::shmExists() const
{
    return exists(shm());
}

bool JournalFiles::inUse() const
{
    const int fd = ::open(shm().constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return exists(shm()); // there but unreadable: assume someone uses it
    // F_GETLK reports other processes' locks only, and needs no write access.
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = 0;
    probe.l_len = 0;
    const bool locked = ::fcntl(fd, F_GETLK, &probe) != 0 || probe.l_type != F_UNLCK;
    ::close(fd);
    return locked;
}

bool JournalFiles::writable() const
{
    return writableIfThere(wal()) && writableIfThere(shm());
}

bool JournalFiles::removeWhenUnused() const
{
    struct stat info {};
    if (::lstat(wal().constData(), &info) == 0 && (!S_ISREG(info.st_mode) || info.st_size > 0))
        return false;
    if (inUse())
        return false;
    ::unlink(shm().constData());
    ::unlink(wal().constData());
    return !walExists() && !shmExists();
}

} // namespace jet
