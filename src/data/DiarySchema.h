#pragma once

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

// Creates the tables and indexes on an empty database, in one transaction.
void createDiarySchema(jet::Database& database);

} // namespace data
