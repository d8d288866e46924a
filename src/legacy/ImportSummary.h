#pragma once

#include <QList>
#include <QString>

namespace legacy {

// What a Jet file gives for a date or a time it left empty (NULL): the diary keeps no empty
// date or time, so the import writes Jet's own zero (day 0, midnight) and names the records.
inline constexpr char kEmptyDate[] = "1899-12-30";
inline constexpr char kEmptyTime[] = "00:00:00";

struct RegisterSummary {
    QString table;
    int rows = 0;
    // The serial numbers were not exactly 1..N; the records were numbered anew in their order.
    bool renumbered = false;
    // Serial numbers (as imported) of records whose date or time was empty.
    QList<int> emptyDates;
    QList<int> emptyTimes;
};

struct ImportSummary {
    QString legacyFile; // the Jet file as it was found
    QString keptAs;     // where the Jet file is now, when it was moved aside for the new diary
    QString diaryFile;  // the diary that received the records
    int jetVersion = 0; // 0: Jet 3, 1: Jet 4
    QList<RegisterSummary> registers;

    int totalRows() const;
};

// The summary for the command line, in English, one fact a line.
QString summaryText(const ImportSummary& summary);
// The same for the program's message dialog, in Kannada (file names as they are).
QString summaryKannada(const ImportSummary& summary);

} // namespace legacy
