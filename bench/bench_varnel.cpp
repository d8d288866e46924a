// The Varnel codec against a plain byte-to-QChar conversion of the same bytes. Grids and
// reports decode every text cell, so decoding must run at memory speed.
#include <cstdio>

#include <QByteArray>
#include <QString>

#include "Bench.h"
#include "platform/varnel/VarnelCodec.h"

namespace {

constexpr qsizetype kMegabytes = 16;

// Mixed diary text: captions, weekday names, addresses with digits and punctuation, conjuncts,
// reph and the multi-byte letters.
QByteArray mixedText()
{
    static const char* const pieces[] = {
        "\xB8\xC0\xDC\xBD\xC3\x41\x69\xC0\xC4\x20\x50\xC1\x41\x69\xC0\xC4\xF0\x50\xC0\xE6\xAA\xC0"
        "\xC4\x55\xC0\xBC\xC0\xC4",
        "\xB8\xC9\xC6\xC3\xAA\xC0\xC4\xAA\xC1\x67\xC0",
        "105, \x50\xC9\x41\xA5\xC9\xC3\x55\xCB\x71\xC0\x20\x67\xC0\xB8\xC9\xDB, "
        "\xA8\xC9\x41\x55\xC0\xBC\xC0\xC6\x67\xC0\xC4",
        "0494-16631747",
        "\x4D\xAA\xC9\xC4\xE4\x20\x43\xBD\xB9\x7A\xC0\x20\x7A\xC1\x52\xAF\xC9\x41\x69\xC0\xC4\xA3"
        "\xC0\xC4\xDF\x20\xAA\xC0\xC4\x76\xC9\xDB\x20\xA5\xC0\x71\xC9\x41\x69\xC0\xC4\xAE\xC4.",
        "\x50\xC0\xA3\xC0\xDF\x71\xC0\x20\x67\xC1\x65\xC9\xC6\xE5\xC3\x76\xC0\xEC\xAA\xC0",
        "\xA4\xAA\xC0\x69\xC1\xF0\x74\x3A\x20\x43\xA9\xFC\xAA\xC0\xC8\xA2\xDE",
    };
    QByteArray text;
    text.reserve(kMegabytes * 1024 * 1024 + 256);
    for (int i = 0; text.size() < kMegabytes * 1024 * 1024; ++i) {
        text.append(pieces[i % std::size(pieces)]);
        text.append(i % 5 ? ' ' : '\n');
    }
    return text;
}

double megabytesPerSecond(qsizetype bytes, double ms)
{
    return ms > 0 ? bytes / (1024.0 * 1024.0) / (ms / 1000.0) : 0;
}

BenchResult decodeMixedText()
{
    const QByteArray text = mixedText();
    qsizetype sink = 0;
    const double ours = benchMs([&] { sink += varnel::decode(text).size(); });
    const double raw = benchMs([&] { sink += QString::fromLatin1(text).size(); });
    std::printf("varnel-decode: %.0f MB/s over %lld MB of mixed text (raw %.0f MB/s)%s\n",
                megabytesPerSecond(text.size(), ours), static_cast<long long>(kMegabytes),
                megabytesPerSecond(text.size(), raw), sink ? "" : " ");
    return {ours, raw};
}

// Encoding runs on typed fields only, but a converter run may take a whole document.
BenchResult encodeMixedText()
{
    const QString text = varnel::decode(mixedText());
    qsizetype sink = 0;
    const double ours = benchMs([&] { sink += varnel::encode(text).bytes.size(); });
    const double raw = benchMs([&] { sink += text.toUtf8().size(); });
    std::printf("varnel-encode: %.0f MB/s of Varnel bytes written%s\n",
                megabytesPerSecond(kMegabytes * 1024 * 1024, ours), sink ? "" : " ");
    return {ours, raw};
}

const BenchRegistration decodeRegistration("varnel-decode", decodeMixedText);
const BenchRegistration encodeRegistration("varnel-encode", encodeMixedText);

} // namespace
