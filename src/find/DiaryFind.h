#pragma once

#include <functional>
#include <vector>

#include <QString>

#include "find/FindHit.h"
#include "find/FindQuery.h"

namespace jet {
class Database;
}

// Finding a text in every text field of the three registers.
namespace find {

// Asked between rows; true abandons the search (a window drops one the user typed past).
using StopRequest = std::function<bool()>;

struct FindOptions {
    data::Registers registers = data::everyRegister();
    // Narrow the rows through the diary's find index (FindIndex, a cache outside the diary),
    // making it or bringing it up to date. Off: every row is read and matched.
    bool useIndex = true;
    StopRequest stop;
};

// The records holding `query` in a text field: those holding it as typed (literally or read as
// ITRANS) first, then those holding it only loosely, each group newest first (date, then time;
// ties by register, then higher sl_no first). A record shows the first field holding the text
// as typed, else the first holding it loosely. Each call reads the registers afresh, so it sees
// what other windows and programs saved; the result is the same with or without the index, and
// nothing is written to the diary.
// Failures of the engine throw JetError. Stopped early, it returns what it found so far.
std::vector<FindHit> search(jet::Database& database, const FindQuery& query,
                            const FindOptions& options = {});
std::vector<FindHit> search(jet::Database& database, const QString& typed,
                            data::Registers registers = data::everyRegister());

// Makes the diary's find index or brings it up to date, without searching: a window may call
// it when it opens (or after another program changed the diary), so that its first search
// while the user types is as quick as the rest. Nothing happens on a server or where the index
// cannot be kept; false when the index was busy with another program.
bool updateIndex(jet::Database& database, data::Registers registers = data::everyRegister());

} // namespace find
