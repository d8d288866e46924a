#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "legacy/ImportSummary.h"
#include "legacy/JetReader.h"
#include "legacy/JetValues.h"
#include "legacy/LegacyLayout.h"

namespace legacy {

// A register row in the diary's stored forms: the serial number, then every other column as
// the UTF-8 text that is written (ISO dates, "HH:MM:SS" times, Varnel bytes as Latin-1).
struct DiaryRow {
    int serial = 0;
    QList<QByteArray> values;
};

struct ConvertedRegister {
    const LegacyRegister* layout = nullptr;
    QList<DiaryRow> rows; // in serial order
    RegisterSummary summary;
};

// Converts the raw rows of one register exactly. Serial numbers are kept when they are 1..N;
// otherwise the rows are numbered anew in the order of their numbers (rows without one last,
// ties in the file's order) and the summary says so. Empty texts and NULL texts become "";
// an empty date or time becomes kEmptyDate or kEmptyTime and the summary names the record.
// A value that cannot be converted exactly throws LegacyError naming `path`, table, column
// and record.
ConvertedRegister convertRegister(const LegacyRegister& layout, const QList<RawRow>& rows,
                                  JetTextForm form, const QString& path);

} // namespace legacy
