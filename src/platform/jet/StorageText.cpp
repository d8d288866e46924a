#include "platform/jet/StorageText.h"

namespace jet {

namespace {

// Windows-1252 characters of bytes 80..9F (0 where the code page has none).
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char byteForCodePoint(char32_t cp)
{
    if (cp < 0x100)
        return char(cp);
    for (int i = 0; i < 32; ++i) {
        if (kCp1252High[i] != 0 && kCp1252High[i] == cp)
            return char(0x80 + i);
    }
    return '?';
}

} // namespace

QByteArray storageFromBytes(QByteArrayView bytes)
{
    QByteArray out;
    out.resize(bytes.size() * 2);
    char* p = out.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            *p++ = char(b);
        } else {
            *p++ = char(0xC0 | (b >> 6));
            *p++ = char(0x80 | (b & 0x3F));
        }
    }
    out.truncate(p - out.constData());
    return out;
}

QByteArray bytesFromStorage(const unsigned char* utf8, int size)
{
    QByteArray out;
    out.resize(size);
    char* p = out.data();
    int i = 0;
    while (i < size) {
        const unsigned char b = utf8[i];
        if (b < 0x80) {
            *p++ = char(b);
            ++i;
            continue;
        }
        // The stored form of bytes 80..FF (U+0080..U+00FF), nearly every other character of
        // a Varnel text, is taken without the general decoding below.
        if ((b == 0xC2 || b == 0xC3) && i + 1 < size && (utf8[i + 1] & 0xC0) == 0x80) {
            *p++ = char(((b & 0x03) << 6) | (utf8[i + 1] & 0x3F));
            i += 2;
            continue;
        }
        int length = 1;
        char32_t cp = b;
        if ((b & 0xE0) == 0xC0) {
            length = 2;
            cp = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            length = 3;
            cp = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            length = 4;
            cp = b & 0x07;
        }
        bool valid = length > 1 && i + length <= size;
        for (int k = 1; valid && k < length; ++k) {
            if ((utf8[i + k] & 0xC0) != 0x80)
                valid = false;
            else
                cp = (cp << 6) | (utf8[i + k] & 0x3F);
        }
        // A stray byte that is not UTF-8 is kept as it is: it can only be a Varnel byte.
        *p++ = valid ? byteForCodePoint(cp) : char(b);
        i += valid ? length : 1;
    }
    out.truncate(p - out.constData());
    return out;
}

} // namespace jet
