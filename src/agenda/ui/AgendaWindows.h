#pragma once

#include <QKeyCombination>

namespace agenda {

// The key that opens the agenda window from anywhere in the main window.
inline constexpr QKeyCombination kAgendaKey(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_A);

// Makes AgendaWindow openable by name (the lists pop-up then offers it) and by kAgendaKey.
void registerAgendaWindow();

} // namespace agenda
