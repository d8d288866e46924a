#pragma once

namespace registers {

// Makes frmlocal, frmoutstation and frmtour openable by name from the first pop-up menu.
void registerWindows();

} // namespace registers
