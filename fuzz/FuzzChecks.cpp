#include "FuzzChecks.h"

#include <cstdio>
#include <cstdlib>

#include "platform/varnel/VarnelCodec.h"

namespace fuzzchecks {
namespace {

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

// Bytes with no known glyph, and glyphs known from converter tables only. The archaic
// letters' bytes (BE, BF, F5, F9, FA) are written: every decoded text must encode back.
bool neverWritten(unsigned char b)
{
    if (b == 0x7F || (b >= 0x80 && b <= 0x90) || (b >= 0x95 && b <= 0xA1) || b >= 0xFD)
        return true;
    switch (b) {
    case 0xAD:
    case 0xB3:
    case 0xB4:
    case 0xB7:
    case 0xF1:
    case 0xF2:
    case 0xF3:
    case 0xF4:
    case 0xFB: return true;
    default: return false;
    }
}

} // namespace

void checkDecoded(QByteArrayView bytes, const QString& text)
{
    if (text.size() > 3 * bytes.size())
        fail("decoded text longer than three characters a byte");
    if (text != text.normalized(QString::NormalizationForm_C))
        fail("decoded text not NFC");
    if (!varnel::sameText(bytes, bytes))
        fail("text not the same as itself");
    static const QString unwritable = QStringLiteral("\uFFFDೄೠ಼ೕೖ");
    for (const varnel::Refusal& r : varnel::encode(text).refusals)
        if (r.character > 0xFFFF || !unwritable.contains(QChar(char16_t(r.character))))
            fail("decoder wrote a character the encoder refuses");
}

void checkEncoded(const QString& input)
{
    const QString nfc = input.normalized(QString::NormalizationForm_C);
    const varnel::Encoded e = varnel::encode(input);
    qsizetype last = -1;
    for (const varnel::Refusal& r : e.refusals) {
        if (r.position <= last || r.position >= nfc.size())
            fail("refusal position out of order or range");
        last = r.position;
        const QChar c = nfc.at(r.position);
        const bool pair = c.isHighSurrogate() && r.position + 1 < nfc.size() &&
                          nfc.at(r.position + 1).isLowSurrogate();
        const char32_t at = pair ? QChar::surrogateToUcs4(c, nfc.at(r.position + 1)) : c.unicode();
        if (at != r.character)
            fail("refusal names another character");
    }
    for (char b : e.bytes)
        if (neverWritten(static_cast<unsigned char>(b)))
            fail("encoder wrote a byte without a sure glyph");
    if (!e.refusals.isEmpty() && varnel::refusalMessage(e.refusals).isEmpty())
        fail("refusal without a message");
    checkDecoded(e.bytes, varnel::decode(e.bytes));
}

} // namespace fuzzchecks
