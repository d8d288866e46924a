#pragma once

#include <functional>

namespace search {

class SearchWindow;

// What the program adds to each list window as it is made (the grid's export menu).
using SearchWindowExtra = std::function<void(SearchWindow&)>;

// Makes frmfind1, frmfind2 and frmfind3 openable by name from the second pop-up menu.
void registerWindows(const SearchWindowExtra& extra = {});

} // namespace search
