#pragma once

#include <memory>

#include <QDate>

#include "platform/report/ReportRun.h"

namespace jet {
class Database;
}

namespace reports {

struct ReportRegister;

// Copies the records of a date range into the register's staging table, for the report
// template to read: the table is emptied, then each record of the range query becomes one
// staging row, in the query's order: its columns unchanged (sl_no is kept, not renumbered)
// except the times, which become "HH:mm" text, followed by the range's first and last day.
//
// Emptying and refilling is one transaction: a report never reads a half-filled table, and a
// failure (a locked diary, a full disk) leaves the previous rows and throws the JetError.
// Returns the number of rows staged; 0 leaves the staging table empty. A diary that can only be
// read is staged in a temporary table of `Db`'s connection instead, so the report must read
// through `Db` (stagedDiaryOpener).
int stageRange(jet::Database& Db, const ReportRegister& reg, const QDate& first, const QDate& last);

// Refuses, before anything is staged, a run whose PDF would not fit in `folder` (the output's
// folder, or the temporary folder that holds a preview's or a print job's PDF): the range's
// records are counted and the PDF's size estimated generously from them. Throws the JetError of
// a full disk naming `shown`; the diary is then as it was.
void requireRoomForReport(jet::Database& Db, const ReportRegister& reg, const QDate& first,
                          const QDate& last, const QString& folder, const QString& shown);

// How a report run reaches the diary its template names: through `staged`, the connection
// that staged the rows, when it is that diary; else the diary is opened as every window opens
// it. A diary that is not there is not made (nullptr).
report::DiaryOpener stagedDiaryOpener(std::shared_ptr<jet::Database> staged);

// Keeps the range start at or before its end after the user changed picker `Index` (0 the
// first day, 1 the last day): the other picker takes the changed value when they cross.
template <typename Value> void keepRangeOrdered(int Index, Value& first, Value& last)
{
    if (Index == 0 && first > last)
        last = first;
    else if (Index == 1 && last < first)
        first = last;
}

} // namespace reports
