#include "legacy/JetHeader.h"

#include <fcntl.h>
#include <unistd.h>

#include "platform/files/NativeFiles.h"
#include "platform/paths/NativePath.h"

namespace legacy {

namespace {

// Page 0 of every Jet file: a magic number, the format's name, the version byte at 0x14.
constexpr qsizetype kVersionOffset = 0x14;

} // namespace

JetHeader readJetHeader(const QString& path)
{
    // Only a plain file is read: opening a FIFO would wait for a writer.
    if (!files::isFile(path))
        return {};
    const int fd = ::open(files::nativePath(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    QByteArray head(kVersionOffset + 1, '\0');
    const ssize_t got = ::pread(fd, head.data(), size_t(head.size()), 0);
    ::close(fd);
    head.truncate(got < 0 ? 0 : got);
    JetHeader header;
    header.kind = JetHeader::Kind::NotJet;
    const QByteArray format = head.mid(4, 15);
    if (head.size() <= kVersionOffset ||
        (format != "Standard Jet DB" && format != "Standard ACE DB"))
        return header;
    header.version = static_cast<unsigned char>(head.at(kVersionOffset));
    if (format == "Standard ACE DB" || header.version >= 2)
        header.kind = JetHeader::Kind::NewerJet;
    else
        header.kind = header.version == 0 ? JetHeader::Kind::Jet3 : JetHeader::Kind::Jet4;
    return header;
}

} // namespace legacy
