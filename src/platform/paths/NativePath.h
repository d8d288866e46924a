#pragma once

#include <cstdlib>
#include <memory>
#include <unistd.h>

#include <QByteArray>
#include <QByteArrayView>
#include <QDir>
#include <QString>
#include <QStringView>

// File names on Linux are bytes, and not every name is UTF-8. A path is held as a QString in
// which valid UTF-8 reads as usual and each byte of an invalid sequence is the lone surrogate
// U+DC80 + (byte - 0x80), so the name goes back to the system exactly as it came. Qt's own file
// classes know nothing of this: a path that may hold such bytes reaches the system through
// nativePath(), never through QFile or QFileInfo (even QFileInfo::absoluteFilePath() turns
// it into another name).
//
// A room of its own, header only, below both the engine and the file library: both reach the
// system by these bytes. The functions keep the files namespace their callers know them by.
namespace files {

namespace native {

constexpr char16_t kEscapeBase = 0xDC00; // + the byte, which is 0x80..0xFF

inline bool isEscape(char16_t unit)
{
    return unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF;
}

// The length of the well-formed UTF-8 sequence at `at`, or 0 when there is none.
inline int sequenceLength(const unsigned char* at, qsizetype left)
{
    const unsigned char lead = at[0];
    if (lead < 0x80)
        return 1;
    int length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    else
        return 0;
    // No overlong forms, no UTF-16 surrogates, nothing past U+10FFFF.
    if (lead == 0xE0)
        low = 0xA0;
    else if (lead == 0xED)
        high = 0x9F;
    else if (lead == 0xF0)
        low = 0x90;
    else if (lead == 0xF4)
        high = 0x8F;
    if (left < length || at[1] < low || at[1] > high)
        return 0;
    for (int i = 2; i < length; ++i) {
        if (at[i] < 0x80 || at[i] > 0xBF)
            return 0;
    }
    return length;
}

} // namespace native

// A name from the system (argv, readdir, realpath) as a path.
inline QString fromNativePath(QByteArrayView bytes)
{
    QString path;
    path.reserve(bytes.size());
    const auto* at = reinterpret_cast<const unsigned char*>(bytes.data());
    for (qsizetype i = 0; i < bytes.size();) {
        const int length = native::sequenceLength(at + i, bytes.size() - i);
        if (length == 0) {
            path.append(QChar(char16_t(native::kEscapeBase + at[i])));
            ++i;
            continue;
        }
        // Decoded here: QString::fromUtf8 would drop a leading byte order mark.
        char32_t code = length == 1 ? at[i] : at[i] & (0x7F >> length);
        for (int k = 1; k < length; ++k)
            code = (code << 6) | (at[i + k] & 0x3F);
        path.append(QChar::fromUcs4(code));
        i += length;
    }
    return path;
}

// The exact bytes the system knows `path` by.
inline QByteArray nativePath(QStringView path)
{
    QByteArray bytes;
    bytes.reserve(path.size());
    qsizetype plain = 0; // start of the run still to convert
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t unit = path[i].unicode();
        // A high surrogate pairs with the next unit, even one in the escape range.
        if (QChar::isHighSurrogate(unit) && i + 1 < path.size() &&
            QChar::isLowSurrogate(path[i + 1].unicode())) {
            ++i;
            continue;
        }
        if (native::isEscape(unit)) {
            bytes += path.sliced(plain, i - plain).toUtf8();
            bytes += char(unit - native::kEscapeBase);
            plain = i + 1;
        }
    }
    bytes += path.sliced(plain).toUtf8();
    return bytes;
}

// `path` against the working folder, cleaned of "." and "..", links left as they are.
inline QString absolutePath(const QString& path)
{
    if (path.startsWith(u'/'))
        return QDir::cleanPath(path);
    const std::unique_ptr<char, decltype(&std::free)> folder(::getcwd(nullptr, 0), std::free);
    return QDir::cleanPath((folder ? fromNativePath(folder.get()) : QDir::currentPath()) + u'/' +
                           path);
}

// The folder of absolutePath(path).
inline QString folderOf(const QString& path)
{
    const QString absolute = absolutePath(path);
    const qsizetype slash = absolute.lastIndexOf(u'/');
    return slash <= 0 ? QStringLiteral("/") : absolute.left(slash);
}

// `text` for a message: each byte that is not UTF-8 written as \xNN, so the line stays readable
// and still tells the names apart.
inline QString shownPath(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        const bool paired = i > 0 && QChar::isHighSurrogate(text[i - 1].unicode());
        if (native::isEscape(unit) && !paired)
            shown += QStringLiteral("\\x%1").arg(unit - native::kEscapeBase, 2, 16);
        else
            shown += text[i];
    }
    return shown;
}

} // namespace files
