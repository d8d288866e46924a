#pragma once

#include <QString>
#include <QStringList>

// The few questions the program asks of the file system about a path, asked by the path's exact
// bytes (see NativePath.h), so a name that is not UTF-8 is found as it is. Links are followed.
namespace files {

bool exists(const QString& path);
bool isFile(const QString& path); // a regular file
bool isFolder(const QString& path);

// Whether the two paths reach one file (the same device and inode: a hard or symbolic link to a
// file is that file); false when either does not exist.
bool sameFile(const QString& a, const QString& b);

// `path` with every link resolved; empty when it does not exist.
QString canonicalPath(const QString& path);
// The names of everything in `folder`, hidden ones too, sorted by their bytes.
QStringList fileNames(const QString& folder);

} // namespace files
