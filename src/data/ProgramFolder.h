#pragma once

#include <QString>

namespace data {

// The folder the program runs from, where the diary file, the report templates and the help
// page lie. Tests point it at a temporary folder.
QString programFolder();
void setProgramFolder(const QString& folder);

} // namespace data
