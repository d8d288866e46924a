#include "platform/files/Leftovers.h"

#include <cerrno>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QRegularExpression>

#include "platform/files/NativeFiles.h"
#include "platform/paths/NativePath.h"

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
    // The pattern cannot look at a name holding bytes that are not UTF-8; they count as letters.
    QString matched = fileName;
    for (qsizetype i = 0; i < matched.size(); ++i) {
        if (matched[i].isHighSurrogate())
            ++i; // a pair, whatever its second half
        else if (native::isEscape(matched[i].unicode()))
            matched[i] = QChar::ReplacementCharacter;
    }
    const QRegularExpressionMatch match = temporaryPattern().match(matched);
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
    for (const QString& name : fileNames(folder)) {
        qint64 pid = 0;
        if (!isTemporaryName(name, &pid) || processRuns(pid))
            continue;
        // Files only, never through a link.
        const QByteArray path = nativePath(dir.filePath(name));
        struct stat st {};
        if (::lstat(path.constData(), &st) == 0 && !S_ISDIR(st.st_mode) && !S_ISLNK(st.st_mode) &&
            ::unlink(path.constData()) == 0)
            ++removed;
    }
    return removed;
}

} // namespace files
