#pragma once

#include <optional>

#include <QString>

namespace jet {
class Database;
}

// The diary's own id: a random UUID made with the diary (data::createDiarySchema, server init)
// or, for a diary of an earlier version, one derived from its path, and kept in the diary itself,
// in the one-row table diary_identity. It travels with the diary: every backup carries it, a
// restore keeps it, a copy of the file shares it. A diary made anew (or brought over from Jet
// again) gets a new one.
namespace exports {

std::optional<QString> storedDiaryId(jet::Database& database);
// Stores `id` unless the diary has one already; returns the id the diary holds afterwards.
QString storeDiaryId(jet::Database& database, const QString& id);

// The stored id. A diary file that has none yet (made by an earlier version) is named by its
// full path (data::diaryIdOfPath), which the first program that opens it to write stores; a
// server's diary that has none gets a random one stored now.
QString diaryId(jet::Database& database);

} // namespace exports
