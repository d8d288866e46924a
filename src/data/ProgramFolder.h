#pragma once

#include <QString>

namespace data {

// The folder the program runs from. Tests point it at a temporary folder.
QString programFolder();
void setProgramFolder(const QString& folder);

// The folder that holds the help page (with its pictures) and the report templates: the
// program's folder when the help page lies there (an own-folder install, the build tree, a
// test's folder), else share/velmora beside the programs' folder of a system install
// (/usr/bin -> /usr/share/velmora) when it holds them.
QString resourceFolder();

} // namespace data
