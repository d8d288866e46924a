#pragma once

namespace backup {

// Registers the restore window (RestoreWindow) with the window registry.
void registerBackupWindows();

} // namespace backup
