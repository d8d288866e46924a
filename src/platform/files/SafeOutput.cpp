#include "platform/files/SafeOutput.h"

#include <cerrno>
#include <cstring>
#include <utility>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QRandomGenerator>

#include "platform/files/FileChecks.h"
#include "platform/files/FileTexts.h"
#include "platform/files/FolderSync.h"
#include "platform/files/Leftovers.h"
#include "platform/files/NativeFiles.h"
#include "platform/jet/JetError.h"
#include "platform/paths/NativePath.h"

namespace files {

namespace {

// Keeps the temporary name within the file system's 255 bytes: the rest of it takes at most 45.
constexpr int kNameBytes = 200;

QByteArray encoded(const QString& path)
{
    return nativePath(path);
}

mode_t permissionBits(Privacy privacy, const QString& diaryFile)
{
    if (privacy == Privacy::Document)
        return 0666; // the umask takes its share
    struct stat st {};
    if (!diaryFile.isEmpty() && ::stat(encoded(diaryFile).constData(), &st) == 0)
        return st.st_mode & 0666;
    return 0600;
}

// File systems without RENAME_NOREPLACE: a hard link never replaces either.
int linkInstead(const QByteArray& source, const QByteArray& target)
{
    if (::link(source.constData(), target.constData()) != 0)
        return errno;
    ::unlink(source.constData());
    return 0;
}

} // namespace

QString temporaryNameFor(const QString& target)
{
    const QString name = target.mid(target.lastIndexOf(QLatin1Char('/')) + 1);
    // Cut by bytes; a character cut in two stays two bytes of a name, which is all it needs to be.
    const QString kept = fromNativePath(encoded(name).left(kNameBytes));
    // One pass: a "%1" in the name is not a place for the process id.
    return QDir(folderOf(target))
        .filePath(QStringLiteral(".%1.velmora-%2-%3.tmp")
                      .arg(kept, QString::number(::getpid()),
                           QStringLiteral("%1").arg(QRandomGenerator::global()->generate(), 8, 16,
                                                    QLatin1Char('0'))));
}

SafeOutput::SafeOutput(const QString& target, Privacy privacy, const QString& diaryFile)
    : m_target(checkOutputTarget(target))
{
    removeLeftovers(folderOf(m_target));
    m_temporary = temporaryNameFor(m_target);
    const mode_t bits = permissionBits(privacy, diaryFile);
    m_fd = ::open(encoded(m_temporary).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, bits);
    if (m_fd < 0)
        fail(errno);
    if (privacy == Privacy::LikeDiary && ::fchmod(m_fd, bits) != 0)
        fail(errno);
}

SafeOutput::~SafeOutput()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_committed && !m_temporary.isEmpty()) {
        for (const char* suffix : {"", "-journal", "-wal", "-shm"})
            ::unlink(encoded(m_temporary + QLatin1String(suffix)).constData());
    }
}

QString SafeOutput::handOver()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    return m_temporary;
}

void SafeOutput::write(const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(m_fd, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
        }
        data += written;
        left -= written;
    }
}

void SafeOutput::finish()
{
    if (m_fd < 0)
        return;
    const int fd = std::exchange(m_fd, -1);
    if (::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        fail(error);
    }
    if (::close(fd) != 0)
        fail(errno);
}

void SafeOutput::commit()
{
    finish();
    if (::rename(encoded(m_temporary).constData(), encoded(m_target).constData()) != 0)
        fail(errno);
    published();
}

void SafeOutput::published()
{
    m_committed = true;
    // The new name is in place; a failed sync of its folder says the disk may not keep it.
    if (const int error = syncFolder(folderOf(m_target)))
        fail(error);
}

bool SafeOutput::commitIfAbsent()
{
    finish();
    const int error = moveWithoutReplacing(m_temporary, m_target);
    if (error == EEXIST)
        return false;
    if (error != 0)
        fail(error);
    published();
    return true;
}

int moveWithoutReplacing(const QString& from, const QString& to)
{
    const QByteArray source = encoded(from);
    const QByteArray target = encoded(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE))
        return errno != EINVAL && errno != ENOSYS ? errno : linkInstead(source, target);
    return 0;
}

void SafeOutput::fail(int error) const
{
    const QString shown = QDir::toNativeSeparators(m_target);
    if (error == ENOSPC || error == EDQUOT)
        throw jet::JetError(jet::errors::kDiskFull, texts::diskFull.arg(shown));
    if (error == EACCES || error == EPERM || error == EROFS)
        throw jet::JetError(jet::errors::kReadOnly, texts::folderReadOnly.arg(shown));
    throw jet::JetError(
        jet::errors::kDiskIo,
        texts::writeFailed.arg(shown, QString::fromLocal8Bit(std::strerror(error))));
}

void writeFile(const QString& target, const QByteArray& bytes)
{
    SafeOutput output(target);
    output.write(bytes);
    output.commit();
}

} // namespace files
