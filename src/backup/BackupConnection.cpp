#include "backup/BackupConnection.h"

#include <sqlite3.h>

#include <QFileInfo>
#include <QUrl>

#include "backup/BackupSoundness.h"
#include "platform/files/FileChecks.h"
#include "platform/files/FileTexts.h"
#include "platform/jet/JetError.h"
#include "platform/jet/SqliteError.h"

namespace backup {

namespace {

QString readContext(const QString& path)
{
    return QStringLiteral("Could not read the backup '%1'").arg(path);
}

} // namespace

BackupConnection::BackupConnection(const QString& path) : m_path(path)
{
    // A FIFO or a device would block the first read; a folder is no backup either.
    files::requireRegularFile(path, files::texts::backupFile);
    const QFileInfo info(path);
    if (!info.isFile())
        throw jet::JetError(jet::errors::kFileNotFound,
                            QStringLiteral("Could not find the backup '%1'.").arg(path));
    // A URI keeps '?' and '#' of a file name from being read as its parts.
    const QByteArray uri =
        "file:" + QUrl::toPercentEncoding(info.absoluteFilePath(), "/") + "?immutable=1";
    const int rc =
        sqlite3_open_v2(uri.constData(), &m_db,
                        SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        try {
            jet::throwSqliteError(m_db, rc, readContext(path));
        } catch (...) {
            sqlite3_close_v2(m_db);
            throw;
        }
    }
    sqlite3_extended_result_codes(m_db, 1);
}

BackupConnection::~BackupConnection()
{
    sqlite3_close_v2(m_db);
}

int BackupConnection::count(const char* table) const
{
    const QByteArray sql = QByteArray("SELECT count(*) FROM ") + table;
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(m_db, sql.constData(), -1, &stmt, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(stmt);
    const int rows = rc == SQLITE_ROW ? sqlite3_column_int(stmt, 0) : -1;
    sqlite3_finalize(stmt);
    if (rc != SQLITE_ROW) {
        if ((rc & 0xff) == SQLITE_ERROR)
            throw jet::JetError(jet::errors::kUnrecognizedFormat,
                                QStringLiteral("The file '%1' is not a backup of a diary (it "
                                               "has no register %2).")
                                    .arg(m_path, QLatin1String(table)));
        jet::throwSqliteError(m_db, rc, readContext(m_path));
    }
    return rows;
}

void BackupConnection::verify() const
{
    requireSoundDiary(m_db, m_path);
}

} // namespace backup
