#pragma once

#include <optional>

#include <QString>

namespace jet {
class Database;
}

// The diary's own id: a random UUID made with the diary (data::createDiarySchema, server init)
// or, for a diary of an earlier version, the first time something needs it (the first calendar
// export), and kept in the diary itself, in the one-row table diary_identity. It travels with
// the diary: every backup carries it, a restore keeps it, a copy of the file shares it. A diary
// made anew (or brought over from Jet again) gets a new one.
namespace exports {

std::optional<QString> storedDiaryId(jet::Database& database);
// Stores `id` unless the diary has one already; returns the id the diary holds afterwards.
QString storeDiaryId(jet::Database& database, const QString& id);

// The stored id, made and stored now when there is none. A diary this user cannot write and
// that has no id yet gets one derived from its full path instead (so its exports stay the same
// until the file moves).
QString diaryId(jet::Database& database);

} // namespace exports
