#pragma once

#include <QString>

// Checks on the files the program is given or is about to write. Failures throw JetError with
// a Kannada message naming the file.
namespace files {

// Remembers `diaryFile` as a diary this program holds: no output may land on it, on its
// journal files or on anything linked to them. The diary door calls it for every file it opens.
void protectDiary(const QString& diaryFile);

// Refuses `target` as an output: a protected diary or its -wal, -shm or -journal (compared by
// device and inode, so links are caught, and by name where the file does not exist yet), a
// folder, anything that is not a regular file, a missing folder or one that cannot be written.
// Returns the path to write: a symbolic link is followed to the file it names.
QString checkOutputTarget(const QString& target);

// Refuses an output of about `bytes` into `folder` when its file system has less room than
// that for this user (kDiskFull, naming `shown`), so a run can stop before it changes anything.
// A folder whose room cannot be asked passes: the writer says what fails.
void requireRoom(const QString& folder, qint64 bytes, const QString& shown);

// Refuses at once an input that exists but is not a regular file (a FIFO or a device would
// block the reader; a folder cannot be read as a file). A missing file passes: the reader says
// so in its own words. `what` names the kind of file in the message.
void requireRegularFile(const QString& path, const QString& what);

} // namespace files
