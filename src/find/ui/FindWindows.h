#pragma once

#include <QKeyCombination>

namespace find {

// The key that opens the find window from anywhere in the main window.
inline constexpr QKeyCombination kFindKey(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_F);

// Makes FindWindow openable by name (the lists pop-up then offers it) and by kFindKey.
void registerFindWindow();

} // namespace find
