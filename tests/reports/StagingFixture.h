#pragma once

#include <memory>

#include <QStringList>

#include "TempProgramFolder.h"

namespace jet {
class Database;
}

// A program folder with a diary whose registers hold the few rows a test writes.
struct StagingFixture {
    TempProgramFolder folder;
    std::shared_ptr<jet::Database> db;

    StagingFixture();
    // "4|2027-03-01|09:05" style rows: sl_no, date and time of a programme (text columns get
    // "topic N" and the like).
    void addProgramme(const QString& table, int slNo, const QString& date, const QString& time);
    void addTour(int slNo, const QString& from, const QString& fromTime, const QString& to,
                 const QString& toTime);
    // Every row of `table` in its stored order, columns joined by '|'.
    QStringList rows(const QString& table) const;
};
