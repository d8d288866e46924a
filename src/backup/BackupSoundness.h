#pragma once

#include <functional>

#include <QString>

namespace jet {
class SqliteFile;
}

namespace backup {

// Refuses a backup that is not a sound diary, before anything is restored from it: a file
// that fails SQLite's integrity check; a register (local, outstation, tour) missing or laid
// out otherwise than the diary lays it out (columns, their types, NOT NULL, defaults, UNIQUE,
// any further rule); serial numbers that are not 1..N in a register; a date or time that is
// missing or not readable as the diary stores it ("YYYY-MM-DD", "HH:MM:SS" text). Throws
// JetError naming `path` and what is wrong: kDamaged for damage and unreadable records,
// kUnrecognizedFormat for a layout that is not the diary's.
void requireSoundDiary(const jet::SqliteFile& backup, const QString& path);

namespace testing {

// Runs `hook` during each restore once the diary's write lock is held and the diary's own
// backup is written, right before the chosen backup's records go in (empty: nothing).
void setBeforeRestoreWrites(std::function<void()> hook);

} // namespace testing

} // namespace backup
