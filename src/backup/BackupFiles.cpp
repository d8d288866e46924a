#include "backup/BackupFiles.h"

#include <algorithm>
#include <unistd.h>

#include <QDir>
#include <QRegularExpression>

#include "platform/files/NativeFiles.h"
#include "platform/paths/NativePath.h"

namespace backup {

namespace {

const QString kDateTimeFormat = QStringLiteral("yyyy-MM-dd-HHmmss");

const QRegularExpression& namePattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("^Tarnalist-(\\d{4}-\\d{2}-\\d{2}-\\d{6})(?:-(\\d{1,4}))?\\.mdb$"));
    return pattern;
}

bool newerFirst(const BackupName& a, const BackupName& b)
{
    if (a.taken != b.taken)
        return a.taken > b.taken;
    return a.sequence > b.sequence;
}

} // namespace

QString backupFolderFor(const QString& diaryFile)
{
    return QDir(files::folderOf(diaryFile)).filePath(QStringLiteral("backups"));
}

QString backupFileName(const BackupName& name)
{
    const QString stamp = name.taken.toString(kDateTimeFormat);
    if (name.sequence <= 1)
        return QStringLiteral("Tarnalist-%1.mdb").arg(stamp);
    return QStringLiteral("Tarnalist-%1-%2.mdb").arg(stamp).arg(name.sequence);
}

std::optional<BackupName> parseBackupName(const QString& fileName)
{
    const QRegularExpressionMatch match = namePattern().match(fileName);
    if (!match.hasMatch())
        return std::nullopt;
    BackupName name;
    name.taken = QDateTime::fromString(match.captured(1), kDateTimeFormat);
    if (!name.taken.isValid())
        return std::nullopt;
    if (match.hasCaptured(2))
        name.sequence = match.captured(2).toInt();
    return name;
}

QStringList backupFiles(const QString& folder)
{
    const QDir dir(folder);
    std::vector<std::pair<BackupName, QString>> found;
    for (const QString& file : files::fileNames(folder)) {
        const auto name = parseBackupName(file);
        if (name && files::isFile(dir.filePath(file)))
            found.emplace_back(*name, dir.filePath(file));
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return newerFirst(a.first, b.first); });
    QStringList paths;
    for (const auto& entry : found)
        paths << entry.second;
    return paths;
}

QString newBackupPath(const QString& folder, const QDateTime& taken)
{
    const QDir dir(folder);
    // Seconds only: the name carries no finer time.
    BackupName name{taken.addMSecs(-taken.time().msec()), 1};
    while (files::exists(dir.filePath(backupFileName(name))))
        ++name.sequence;
    return dir.filePath(backupFileName(name));
}

QStringList rotateBackups(const QString& folder, int keep, const QString& spare)
{
    const QStringList files = backupFiles(folder);
    const QString spared = spare.isEmpty() ? QString() : files::absolutePath(spare);
    QStringList removed;
    for (qsizetype i = keep; i < files.size(); ++i) {
        if (files::absolutePath(files[i]) == spared)
            continue;
        if (::unlink(files::nativePath(files[i]).constData()) == 0)
            removed << files[i];
    }
    return removed;
}

} // namespace backup
