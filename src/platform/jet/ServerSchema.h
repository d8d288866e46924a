#pragma once

#include <optional>

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace jet {

class Database;

// The diary's layout on a server, made from the file's own CREATE statements: the same six
// tables and indexes, each table with its identity column after the documented ones, serial
// numbers unique at each statement's end, the query functions, the change notices and the
// per-desk staging tables.
inline constexpr int kServerSchemaVersion = 1;

QStringList serverSchemaStatements(const QStringList& fileSchemaStatements);

// The server's form of a table or index a diary gets on first use (the file's statement): an
// AUTOINCREMENT key becomes an identity column, which never gives a number twice either.
QString serverFirstUseStatement(QString fileStatement);

// Tables a diary file made on first use (their file statements, and their names) that a copy
// to the server brings over as well.
struct FirstUseTables {
    QStringList statements;
    QStringList names;
};

// Lays the diary out on an empty server database in one transaction, with the registers of
// `copyFrom` (a diary file) copied in when given, and the tables of `alsoCopied` made and
// filled from it. A database that holds a diary (or any of its tables) is refused with
// JetError and left as it was; so is any failure halfway.
void initServerDiary(Database& server, const QStringList& fileSchemaStatements,
                     Database* copyFrom = nullptr, const FirstUseTables& alsoCopied = {});

// Copies every row of the three registers of `file` (a diary file) into the server's,
// byte for byte and in the file's order, inside the caller's transaction.
void copyRegistersToServer(Database& file, Database& server);

struct ServerDiaryState {
    std::optional<int> schemaVersion;  // none: no diary on this database
    QList<QPair<QString, int>> counts; // register -> records
};

ServerDiaryState readServerDiaryState(Database& server);

} // namespace jet
