#pragma once

#include <QString>
#include <QStringList>

namespace jet {
class Database;
}

namespace data {

// The six tables of the diary file, columns in the order every window addresses them by
// ordinal: CREATE TABLE statements first, then the indexes for the orders the windows use.
QStringList diarySchemaStatements();

// local, outstation, tour, temp_local, temp_outstation, temp_tour.
QStringList diaryTableNames();

// The columns of a register (local, outstation or tour) in their order, as its CREATE TABLE
// statement names them.
QStringList registerColumns(const QString& table);

// Adds to a diary file the indexes that diaries made by earlier versions lack, unless it can
// only be read or a write is open on `database`; true when the file has them all (false on a
// server, whose layout `server init` made).
bool addMissingIndexes(jet::Database& database);

// The id of a diary that was made before diaries had one: derived from the file's full path, so
// every reader names it alike, and stored by the first program that opens it to write.
QString diaryIdOfPath(const QString& path);

// Throws JetError (naming the file) unless the file holds the three registers with their
// columns: another program's SQLite file is never taken for a diary.
void requireDiaryLayout(jet::Database& database);
// requireDiaryLayout, and SQLite's own check of every page (once per file and run of the
// program): what is written to a diary never goes into a damaged file.
void requireSoundDiary(jet::Database& database);

// Creates the tables and indexes on an empty database, in one transaction.
void createDiarySchema(jet::Database& database);

// Deleted records are kept, so that they can be brought back: one row per deletion with its
// register (register_name), its serial number then (sl_no), when it was deleted (deleted_at,
// "YYYY-MM-DD HH:MM:SS") and the record's columns under their names (those of the other
// registers stay empty). Not one of the six tables: a diary gets it at its first deletion.
inline constexpr char kKeptDeletionsTable[] = "deleted_records";

// The table and its index as the file makes them, each made only where it is missing.
QStringList keptDeletionsStatements();
bool hasKeptDeletionsTable(jet::Database& database);
// Makes the table where it is missing, inside the caller's write (on the file or a server), so
// two programs reaching an older diary at once make it once.
void addKeptDeletionsTable(jet::Database& database);

} // namespace data
