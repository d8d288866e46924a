#pragma once

#include <memory>

#include <QString>

namespace jet {
class Database;
}

namespace data {

// The diary file's name as it is created.
inline constexpr char kDiaryFileName[] = "Tarnalist.mdb";
// The optional settings file beside the diary. Its [server] section's `connection` key (a
// libpq connection string or "service=NAME", never a password) moves the diary onto a
// PostgreSQL server shared by several desks.
inline constexpr char kSettingsFileName[] = "velmora.conf";

// The server connection for the diary at `path`: the one chosen for this whole program
// (setServerConnection), else the setting in velmora.conf beside the diary, else empty (the
// diary is the file). A setting that holds a password is refused with JetError.
QString serverConnectionFor(const QString& path);
// Makes every diary this program opens the one on the server `connection` (velmora-cli
// --server); an empty text goes back to the files and their settings.
void setServerConnection(const QString& connection);
// Throws JetError when `connection` carries a password; `where` names the setting.
void refuseServerPassword(const QString& connection, const QString& where);

// Opens the diary file the windows name as programFolder() + "\\Tarnalist.mdb" (or
// "\\tarnalist.mdb"): '\\' separates folders, the file name is matched without regard to
// letter case, and when several files differ only in case the exact spelling "Tarnalist.mdb"
// wins, else the first name in byte order, whatever the caller's spelling (nothing is merged
// or deleted). Without any such file a new diary with the six tables
// is created. A file that is not an SQLite database is never modified: JetError naming it.
// With a server connection for `path` (serverConnectionFor) the diary on that server is
// opened instead; all windows of one program share one connection to it, so the staging
// tables a report window fills (temporary tables of the connection) are the ones its report
// reads, and no other desk ever sees them.
std::shared_ptr<jet::Database> OpenDiaryDatabase(const QString& path);

// The door of everything that only reads the diary (lists, finds, exports, the agenda): the
// same diary OpenDiaryDatabase reaches, but a file is never made, switched to another journal,
// given indexes or otherwise written, and nothing is left beside it. A file that is not a diary
// (or is damaged) is refused with JetError naming it. The connection may be read-only.
std::shared_ptr<jet::Database> OpenDiaryForReading(const QString& path);

// The file route of OpenDiaryDatabase, whatever the settings say (copying a file to a server).
std::shared_ptr<jet::Database> OpenDiaryFile(const QString& path);

// Moves a finished new file `from` to `to` unless `to` exists (false then, `from` is left);
// never replaces anything. Other failures throw JetError.
bool publishNewFile(const QString& from, const QString& to);

// The file OpenDiaryDatabase would open for `path`, or an empty string when none exists. For
// a diary on a server: the settings file that names it (or the connection chosen for the
// whole program).
QString findDiaryFile(const QString& path);

} // namespace data
