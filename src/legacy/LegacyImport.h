#pragma once

#include <functional>

#include <QList>
#include <QString>

#include "legacy/ImportSummary.h"
#include "legacy/RegisterConversion.h"

namespace legacy {

// Steps done of all steps: every record is read once and written once.
using ImportProgress = std::function<void(int done, int total)>;

// Every register of a Jet diary, converted to the diary's stored forms.
struct LegacyDiary {
    QString path;
    int jetVersion = 0;
    QList<ConvertedRegister> registers;
};

// Reads and converts the Jet file `jetFile`; nothing is written anywhere. A file that is not a
// Jet 3 or Jet 4 diary with the three registers (a newer version, a damaged or truncated file,
// missing tables, other columns, a value that does not convert exactly) gives a LegacyError
// naming the file and what is wrong.
LegacyDiary readLegacyDiary(const QString& jetFile, const ImportProgress& progress = {});

// The file the program would open as its diary in `folder` ("Tarnalist.mdb" in any letter
// case) when it is a Jet file; empty otherwise. Reads the file's header: call it before any
// connection to that diary exists.
QString legacyDiaryIn(const QString& folder);

// Puts a new diary with the records of the Jet file `jetFile` in its place: the new diary is
// built under a private name beside it; when every record is in, the Jet file is kept unchanged
// as "Tarnalist-jet.mdb" (or "Tarnalist-jet-2.mdb" and so on, whichever is free) and the new
// diary takes the name `diaryName` in the same folder. On any failure (a bad file, a failing
// write, an exception from `progress`) nothing is left behind and the Jet file keeps its name.
ImportSummary importInPlace(const QString& jetFile,
                            const QString& diaryName = QStringLiteral("Tarnalist.mdb"),
                            const ImportProgress& progress = {});

// velmora-cli import: brings the records of `jetFile` into the diary `diaryPath` (found in any
// letter case). A missing diary is built complete under a private name and then put in place;
// an existing one must hold no record and receives all of them in one transaction. When the
// diary is the Jet file itself, it is replaced as importInPlace does.
ImportSummary importIntoDiary(const QString& jetFile, const QString& diaryPath,
                              const ImportProgress& progress = {});

} // namespace legacy
