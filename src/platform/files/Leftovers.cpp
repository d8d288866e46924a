#include "platform/files/Leftovers.h"

#include <cerrno>
#include <signal.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace files {

namespace {

const QRegularExpression& temporaryPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\..+\\.velmora-(\\d+)-[0-9a-f]{8}\\.tmp(?:-journal|-wal|-shm)?$"));
    return pattern;
}

bool processRuns(qint64 pid)
{
    if (pid <= 0)
        return false;
    if (pid == ::getpid())
        return true;
    // EPERM: it runs, as another user.
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

} // namespace

bool isTemporaryName(const QString& fileName, qint64* pid)
{
    const QRegularExpressionMatch match = temporaryPattern().match(fileName);
    if (!match.hasMatch())
        return false;
    if (pid)
        *pid = match.captured(1).toLongLong();
    return true;
}

int removeLeftovers(const QString& folder)
{
    const QDir dir(folder);
    int removed = 0;
    const QStringList names =
        dir.entryList(QStringList{QStringLiteral(".*.velmora-*.tmp*")},
                      QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QString& name : names) {
        qint64 pid = 0;
        if (isTemporaryName(name, &pid) && !processRuns(pid) && QFile::remove(dir.filePath(name)))
            ++removed;
    }
    return removed;
}

} // namespace files
