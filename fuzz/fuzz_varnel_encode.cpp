// libFuzzer target: any text through the encoder, read both as UTF-8 and as raw UTF-16 (so that
// lone surrogates and every Kannada code point are reached quickly).
#include <cstddef>
#include <cstdint>

#include "FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzchecks::checkEncoded(
        QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)));
    QString utf16(qsizetype(size / 2), Qt::Uninitialized);
    for (std::size_t i = 0; i + 1 < size; i += 2)
        utf16[qsizetype(i / 2)] = QChar(char16_t(data[i] | (data[i + 1] << 8)));
    fuzzchecks::checkEncoded(utf16);
    return 0;
}
