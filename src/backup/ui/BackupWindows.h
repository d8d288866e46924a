#pragma once

namespace backup {

// Registers the restore window (frmrestore) with the window registry.
void registerBackupWindows();

} // namespace backup
