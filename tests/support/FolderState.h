#pragma once

#include <QStringList>

// Each file in `folder` (hidden ones too) with the SHA-256 of its bytes, by name; empty when one
// cannot be read. SQLite's -wal and -shm files are left out unless `withJournal`.
QStringList folderState(const QString& folder, bool withJournal = true);
