#pragma once

namespace search {

// Makes frmfind1, frmfind2 and frmfind3 openable by name from the second pop-up menu.
void registerWindows();

} // namespace search
