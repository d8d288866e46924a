#pragma once

#include <memory>

#include <QString>

#include "find/RegisterTexts.h"

namespace jet {
class Database;
}

namespace find {

class FindQuery;

// The find index of one diary file: a cache the program can always make again, kept outside
// the diary (so reading the diary never writes it, and backups, exports and servers never carry
// it) in the user's cache folder, $XDG_CACHE_HOME/Velmora/find-ID.sqlite, one file per diary
// named by the diary's id (for a diary older than ids, the one it will be given: a hash of its
// path). Per register a table (find_local_vN ..., N the rules of the loose key, kLooseKeyRules)
// holds, for each row keyed by its rowid, copies of its text fields as stored and the loose key
// of their decoded text. It only narrows a search to the rows that may hold the text; every
// row it yields is matched as if there were no index.
//
// The copies keep it honest without any help from the writers: a row whose texts differ from
// its copies (changed by another program, an older version, a restore, a rowid renumbered by
// VACUUM, another copy of the diary sharing its id) or that has none (added since) is always
// listed as a candidate, and marked stale, so the next refresh indexes it again. Rows deleted
// since simply find no partner. An index made under other rules is discarded and made anew.
//
// The index file is written through a connection of its own and attached to the diary's
// connection for reading only, so the diary's connection may be a reader's. A diary on a
// server, and any diary whose index cannot be made or opened now (no cache folder, a full disk,
// another program holding it too long), is searched row by row.
class FindIndex {
public:
    explicit FindIndex(jet::Database& diary);
    ~FindIndex();
    FindIndex(const FindIndex&) = delete;
    FindIndex& operator=(const FindIndex&) = delete;

    bool isUsable() const { return m_cache != nullptr; }

    // The rows to match for `query`: the row's identity, then every column of the register by
    // ordinal, then (with the index) 1 for a row the index does not cover yet.
    QString candidates(const RegisterTexts& texts, const FindQuery& query) const;
    // Every row of the register, for a search without the index: the same columns without
    // the stale mark.
    static QString everyRow(jet::Database& database, const RegisterTexts& texts);

    // Brings the register's part up to date: drops the entries of deleted rows and indexes every
    // row whose copies differ, in one transaction of the index file. False when the index could
    // not take the write now; the searches stay correct.
    bool refresh(const RegisterTexts& texts);

    // The file that holds the index of the diary file `diary`.
    static QString fileFor(jet::Database& diary);

private:
    jet::Database& m_diary;
    std::shared_ptr<jet::Database> m_cache; // the index file's own connection, for writing
};

} // namespace find
