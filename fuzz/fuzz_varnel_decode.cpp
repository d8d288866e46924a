// libFuzzer target: any bytes through the decoder.
#include <cstddef>
#include <cstdint>

#include "FuzzChecks.h"
#include "platform/varnel/VarnelCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    fuzzchecks::checkDecoded(bytes, varnel::decode(bytes));
    return 0;
}
