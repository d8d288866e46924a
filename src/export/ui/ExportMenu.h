#pragma once

#include <functional>

#include <QString>

#include "export/DiaryExport.h"

class QTableView;
class QWidget;

namespace exports {

// Gives a search window's grid a context menu that saves the list as CSV (for a spreadsheet)
// or as iCalendar (for a calendar). `table` is the register listed (local, outstation, tour);
// `statement` gives the statement of the list shown, which is read again through a connection
// of the menu's own, so the file holds the listed records as the diary has them now.
void installExportMenu(QTableView* grid, const QString& table, std::function<QString()> statement);

// What the menu's entries do once a file is chosen: writes the rows of `statement` in `format`
// to `path` (replaced as a whole, or left as it was on a failure, which is shown in the
// message dialog). Returns whether the file was written.
bool saveList(QWidget* parent, const QString& table, const QString& statement, ExportFormat format,
              const QString& path);

} // namespace exports
