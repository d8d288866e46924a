#pragma once

#include <memory>

#include <QString>

namespace jet {
class Database;
}

// The sample diary (60 local, 30 outstation programmes, 20 tours in Varnel text).
QString sampleDiarySqlPath();

// Runs the sample's INSERTs on a diary database that has the six tables.
void loadSampleDiary(jet::Database& database);

// A new diary in `folder` (created through OpenDiaryDatabase) filled with the sample.
std::shared_ptr<jet::Database> openSampleDiary(const QString& folder);
