#pragma once

#include <memory>

#include <QString>

namespace jet {
class Database;
}

namespace data {

// The diary file's name as it is created.
inline constexpr char kDiaryFileName[] = "Tarnalist.mdb";

// Opens the diary file the windows name as programFolder() + "\\Tarnalist.mdb" (or
// "\\tarnalist.mdb"): '\\' separates folders, the file name is matched without regard to
// letter case, and when several files differ only in case the exact spelling "Tarnalist.mdb"
// wins, else the first name in byte order, whatever the caller's spelling (nothing is merged
// or deleted). Without any such file a new diary with the six tables
// is created. A file that is not an SQLite database is never modified: JetError naming it.
std::shared_ptr<jet::Database> OpenDiaryDatabase(const QString& path);

// Moves a finished new file `from` to `to` unless `to` exists (false then, `from` is left);
// never replaces anything. Other failures throw JetError.
bool publishNewFile(const QString& from, const QString& to);

// The file OpenDiaryDatabase would open for `path`, or an empty string when none exists.
QString findDiaryFile(const QString& path);

} // namespace data
