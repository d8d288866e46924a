#pragma once

namespace jet {

// The record set types of OpenRecordset. Table and Dynaset can be written through;
// a Snapshot is a read-only copy taken when it is opened.
enum class RecordsetType { Table = 1, Dynaset = 2, Snapshot = 4 };

} // namespace jet
