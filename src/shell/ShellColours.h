#pragma once

#include <QColor>

// Colours shared by the shell's windows.
namespace shell {

inline constexpr QColor kFormColour{223, 223, 213};   // every window's ground
inline constexpr QColor kButtonColour{239, 239, 239}; // dialog buttons, menu highlights
inline constexpr QColor kCellColour{239, 239, 229};   // an unpainted save-notice cell
inline constexpr QColor kCellPainted{0, 192, 192};
inline constexpr QColor kWhite{255, 255, 255};
inline constexpr QColor kBlack{0, 0, 0};

} // namespace shell
