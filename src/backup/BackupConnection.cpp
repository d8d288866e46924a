#include "backup/BackupConnection.h"

#include "backup/BackupSoundness.h"
#include "platform/files/FileChecks.h"
#include "platform/files/FileTexts.h"
#include "platform/files/NativeFiles.h"
#include "platform/jet/JetError.h"

namespace backup {

namespace {

QString readContext(const QString& path)
{
    return QStringLiteral("Could not read the backup '%1'").arg(path);
}

// A FIFO or a device would block the first read; a folder is no backup either.
QString checkedBackupFile(const QString& path)
{
    files::requireRegularFile(path, files::texts::backupFile);
    if (!files::isFile(path))
        throw jet::JetError(jet::errors::kFileNotFound,
                            QStringLiteral("Could not find the backup '%1'.").arg(path));
    return path;
}

} // namespace

BackupConnection::BackupConnection(const QString& path)
    : m_path(path), m_file(checkedBackupFile(path), readContext(path))
{
}

int BackupConnection::count(const char* table) const
{
    const std::optional<std::int64_t> rows =
        m_file.countRows(QLatin1String(table), readContext(m_path));
    if (!rows)
        throw jet::JetError(jet::errors::kUnrecognizedFormat,
                            QStringLiteral("The file '%1' is not a backup of a diary (it has no "
                                           "register %2).")
                                .arg(m_path, QLatin1String(table)));
    return int(*rows);
}

void BackupConnection::verify() const
{
    requireSoundDiary(m_file, m_path);
}

} // namespace backup
