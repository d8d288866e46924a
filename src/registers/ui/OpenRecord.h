#pragma once

#include <cstdint>

#include "data/Register.h"

namespace jet {
class Database;
}

namespace registers {

// The serial number row `rowKey` of register `which` has now (another window may have
// renumbered it since it was listed), or 0 when it is gone.
int serialOfRow(jet::Database& database, data::Register which, std::int64_t rowKey);

// Opens the register window of `which` (or brings it to the front) and moves its navigator to
// `serial`, as the user would, so the editor reads the diary afresh when it changed. A window
// holding a record half typed keeps it as it is.
void showRecordInItsWindow(data::Register which, int serial);

} // namespace registers
