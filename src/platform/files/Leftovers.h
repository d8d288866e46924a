#pragma once

#include <QString>

namespace files {

// Whether `fileName` (no folder) is one of the program's temporary files, with or without a
// journal suffix; `pid` receives the process that made it.
bool isTemporaryName(const QString& fileName, qint64* pid = nullptr);

// Removes from `folder` the program's temporary files (and their SQLite journals) whose
// process is no longer running: what a kill left behind. Returns how many were removed.
int removeLeftovers(const QString& folder);

} // namespace files
