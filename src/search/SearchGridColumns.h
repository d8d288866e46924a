#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

#include "data/Register.h"

// The columns of the search windows' grids, one set per register.
namespace search {

// How a grid column shows its value.
enum class CellKind {
    Position, // the row's place in the list (the record's sl_no in CSV)
    Date,
    Time,
    Text, // Varnel bytes
};

struct GridColumn {
    QByteArray header; // Varnel bytes
    int ordinal;       // the column of the record it shows
    CellKind kind;
};

// Column 0 is the position; column k > 0 shows ordinal k of the record.
const QList<GridColumn>& gridColumns(data::Register which);

// Cell texts as the grid shows them: Kannada digits, dates "dd/mm/yyyy" and times "HH:mm" with
// the regional separators, Varnel decoded, line breaks shown as blanks.
QString gridPositionText(int position);
QString gridCellText(CellKind kind, const QVariant& value);

// The same cell for a CSV file: ISO dates, "HH:MM" times, Unicode texts with their line breaks.
QString csvCellText(CellKind kind, const QVariant& value);

} // namespace search
