#pragma once

#include <functional>

#include <QList>
#include <QString>

namespace jet {
class Database;
class Recordset;
} // namespace jet

// Column 0 (the serial number) of every row, walked from the first.
QList<int> serials(jet::Recordset& rs);

// The serial numbers `table` holds, read by a connection of its own in sl_no order.
QList<int> storedSerials(const QString& path, const QString& table);

QList<int> serialRange(int from, int to);

// The record editors' renumbering: from the first row, set sl_no to 1, 2, ... through
// Edit/Update in the set's order. `afterRow` runs after each row is written.
void renumberFromOne(jet::Recordset& rs, const std::function<void(int)>& afterRow = {});

// The JetError number `action` throws, 0 when it throws nothing.
int jetErrorNumber(const std::function<void()>& action);

// The first column of the first row of `sql`, read straight through sqlite, as stored text.
QString storedText(jet::Database& db, const QString& sql);
