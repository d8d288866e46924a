#pragma once

#include <functional>

#include <QList>

#include "legacy/RegisterConversion.h"

namespace jet {
class Database;
}

namespace legacy {

// Rows written so far.
using WriteProgress = std::function<void(int written)>;

// Writes the registers into `database` in one transaction: every row or none. Refuses with a
// LegacyError, writing nothing, when any of its registers already holds a record. A failure
// (or an exception from `progress`) rolls everything back.
void writeRegisters(jet::Database& database, const QList<ConvertedRegister>& registers,
                    const WriteProgress& progress = {});

} // namespace legacy
