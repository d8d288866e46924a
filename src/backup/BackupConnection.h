#pragma once

#include <QString>

#include "platform/jet/SqliteFile.h"

namespace backup {

// A backup file opened for reading only. Nobody writes a backup once it is made, so it is read
// as an unchanging file: no lock and no journal files appear beside it, also in a folder this
// user cannot write. Not the diary: the diary is only ever opened through OpenDiaryDatabase.
class BackupConnection {
public:
    // Throws JetError naming the file when it cannot be read as a diary backup.
    explicit BackupConnection(const QString& path);

    const jet::SqliteFile& file() const { return m_file; }
    QString path() const { return m_path; }

    // The number of rows of `table` (one of the registers).
    int count(const char* table) const;
    // Throws JetError naming the file unless it holds a sound diary (requireSoundDiary).
    void verify() const;

private:
    QString m_path;
    jet::SqliteFile m_file;
};

} // namespace backup
