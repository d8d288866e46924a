#pragma once

#include <QString>

#include "find/RegisterTexts.h"

namespace jet {
class Database;
}

namespace find {

class FindQuery;

// The index a diary file keeps for finding, one table per register (find_local,
// find_outstation, find_tour): for each row, keyed by its rowid, copies of its text fields as
// stored and the loose key of their decoded text. It only narrows a search to the rows that
// may hold the text; every row it yields is matched as if there were no index.
//
// The copies keep it honest without any help from the writers: a row whose texts differ from
// its copies (changed by another program, an older version, a restore, a rowid renumbered by
// VACUUM) or that has none (added since) is always listed as a candidate, and marked stale, so
// the next refresh indexes it again. Rows deleted since simply find no partner. A diary on a
// server, or one that cannot be written and has no index yet, is searched row by row.
class FindIndex {
public:
    // Makes the register's table when the diary has none and can be written.
    FindIndex(jet::Database& database, const RegisterTexts& texts);

    bool isUsable() const { return m_usable; }

    // The rows to match for `query`: the row's identity, then every column of the register by
    // ordinal, then (with the index) 1 for a row the index does not cover yet.
    QString candidates(const FindQuery& query) const;
    // Every row of the register, for a search without the index: the same columns without
    // the stale mark.
    static QString everyRow(jet::Database& database, const RegisterTexts& texts);

    // Brings the index up to date: drops the entries of deleted rows and indexes every row
    // whose copies differ, in one transaction. False when the diary could not take the write
    // now (another writer holds it too long, a full disk); the searches stay correct.
    bool refresh();

private:
    QString tableName() const;
    QString staleCondition() const;

    jet::Database& m_database;
    RegisterTexts m_texts;
    bool m_usable = false;
};

} // namespace find
