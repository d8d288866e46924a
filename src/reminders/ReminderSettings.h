#pragma once

#include <QVariant>

#include "reminders/ReminderRule.h"

namespace reminders {

// The [reminders] group of the program's settings file (~/.config/Velmora/Velmora.ini):
//   enabled=false        the background program shows nothing (default true)
//   minutes-before=30    0 to kMaximumMinutesBefore
//   tour-evening=18:00   HH:MM; empty switches the evening reminder of tours off
// A value that cannot be read counts as its default. Read afresh at each look at the diary, so
// a change needs no restart.
Settings readSettings();

// The same from the three values as the settings file gives them (an invalid QVariant: missing).
Settings settingsFrom(const QVariant& enabled, const QVariant& minutesBefore,
                      const QVariant& tourEvening);

} // namespace reminders
