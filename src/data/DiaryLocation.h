#pragma once

#include <QString>

namespace data {

// The folder where this user's diary (Tarnalist.mdb) lies, with its backups/ and velmora.conf:
// - beside the program when the program's folder already holds a diary (in any letter case) or
//   a velmora.conf, or when the program runs from a folder of its own that this user may write
//   (scripts/run.sh's install, the build tree, a test's folder);
// - else, for a program installed system-wide (its help page and templates in share/velmora,
//   see resourceFolder(), or a folder this user may not write), in the user's own data folder:
//   $XDG_DATA_HOME/Velmora, by default ~/.local/share/Velmora. That folder, and any missing
//   folder above it, is made 0700 when missing, so no other user may look into it.
QString diaryFolder();

// The diary every window and velmora-cli open unless told otherwise: Tarnalist.mdb in
// diaryFolder(), found in any letter case when opened.
QString diaryPath();

// At the program's start. In the user's own data folder, a diary that is not there yet (nor on a
// server named by a velmora.conf there) is made now, readable and writable by this user alone
// (0600; its backups copy those bits). Beside the program nothing is done: the diary is made at
// its first opening, as ever. A failure is left to that first opening, which names it.
void prepareDiary();

} // namespace data
