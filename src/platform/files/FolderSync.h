#pragma once

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include <QString>

#include "platform/paths/NativePath.h"

namespace files {

// Syncs `folder` itself, so a name just renamed into it survives a power cut as the file's
// own sync made its bytes survive. 0, or the error of the sync; a folder that cannot be opened
// for reading (mode -wx) cannot be synced and counts as done. Inline, so that libraries below
// this one (the keyboard's settings) can use it too.
inline int syncFolder(const QString& folder)
{
    const int fd = ::open(nativePath(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    const int error = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return error;
}

} // namespace files
