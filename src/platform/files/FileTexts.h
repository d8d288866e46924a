#pragma once

#include <QString>

// The messages of the file checks, in Unicode Kannada; %1 is the path.
namespace files::texts {

extern const QString isDiary;
extern const QString isJournal;
extern const QString isFolder;
extern const QString notRegular;
extern const QString noFolder;
extern const QString folderReadOnly;
extern const QString writeFailed;
extern const QString diskFull;
extern const QString noRoom; // %2 megabytes needed, %3 free
extern const QString inputNotRegular;

// Kinds of input, for inputNotRegular.
extern const QString diary;
extern const QString legacyDiary;
extern const QString reportTemplate;
extern const QString backupFile;

} // namespace files::texts
