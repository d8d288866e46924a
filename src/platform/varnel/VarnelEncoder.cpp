#include "platform/varnel/VarnelCodec.h"

#include <algorithm>
#include <array>

#include "platform/varnel/KannadaLetters.h"

// Encoding splits NFC text into orthographic syllables and writes each one's glyphs in visual
// order: base glyphs (chosen by consonant and vowel sign), subjoined glyphs, trailing length
// mark, reph, anusvara/visarga.

namespace varnel {
namespace {

using namespace kn;

// How one consonant is drawn. Only ಮ ಯ ಝ need their own ೆ and ೊ forms; the others build them
// from the body.
struct ConsonantForms {
    char16_t cp;
    const char* body;  // before ಾ ೌ ್ (ಮ ಯ ಝ: their stem form), and ೆ ೊ
    const char* whole; // inherent a; ು ೂ ೃ hang on it
    const char* withI; // the ಿ ligature (ಙ ಞ ಣ: whole letter + separate ಿ)
    const char* withE; // nullptr: body + ೆ part
    const char* withO; // nullptr: body + ೆ part + o part
    bool vaStyleU;     // ವ hangs ು ೂ on the right
    bool vaStyleO;     // ವ ಪ ಫ use the hanging o part
    char subjoined;
    const char* bare = nullptr; // ಱ ೞ: ು ೂ ೃ hang on the letter without its head mark
};

constexpr ConsonantForms consonantForms[] = {
    {u'\x0C95', "\x50", "\x50\xC0", "\x51", nullptr, nullptr, false, false, '\xCC'},
    {u'\x0C96', "\x53", "\x52", "\x54", nullptr, nullptr, false, false, '\xCD'},
    {u'\x0C97', "\x55", "\x55\xC0", "\x56", nullptr, nullptr, false, false, '\xCE'},
    {u'\x0C98', "\x57", "\x57\xC0", "\x58", nullptr, nullptr, false, false, '\xCF'},
    {u'\x0C99', "\x59", "\x59", "\x59\xC2", nullptr, nullptr, false, false, '\xD0'},
    {u'\x0C9A', "\x5A", "\x5A\xC0", "\x61", nullptr, nullptr, false, false, '\xD1'},
    {u'\x0C9B', "\x62", "\x62\xC0", "\x63", nullptr, nullptr, false, false, '\xD2'},
    {u'\x0C9C', "\x65", "\x64", "\x66", nullptr, nullptr, false, false, '\xD3'},
    {u'\x0C9D', "\x67\xC0\x68\x69", "\x67\xC0\x68\xC4", "\x6A\x68\xC4", "\x67\xC9\x68\xC4",
     "\x67\xC9\x68\xC6", false, false, '\xD4'},
    {u'\x0C9E', "\x6B", "\x6B", "\x6B\xC2", nullptr, nullptr, false, false, '\xD5'},
    {u'\x0C9F', "\x6D", "\x6C", "\x6E", nullptr, nullptr, false, false, '\xD6'},
    {u'\x0CA0', "\x6F", "\x6F\xC0", "\x70", nullptr, nullptr, false, false, '\xD7'},
    {u'\x0CA1', "\x71", "\x71\xC0", "\x72", nullptr, nullptr, false, false, '\xD8'},
    {u'\x0CA2', "\x71\x73", "\x71\x73\xC0", "\x72\xFC", nullptr, nullptr, false, false, '\xD9'},
    {u'\x0CA3', "\x75", "\x74", "\x74\xC2", nullptr, nullptr, false, false, '\xDA'},
    {u'\x0CA4', "\x76", "\x76\xC0", "\x77", nullptr, nullptr, false, false, '\xDB'},
    {u'\x0CA5', "\x78", "\x78\xC0", "\x79", nullptr, nullptr, false, false, '\xDC'},
    {u'\x0CA6', "\x7A", "\x7A\xC0", "\xA2", nullptr, nullptr, false, false, '\xDD'},
    {u'\x0CA7', "\x7A\x73", "\x7A\x73\xC0", "\xA2\xFC", nullptr, nullptr, false, false, '\xDE'},
    {u'\x0CA8', "\xA3", "\xA3\xC0", "\xA4", nullptr, nullptr, false, false, '\xDF'},
    {u'\x0CAA', "\xA5", "\xA5\xC0", "\xA6", nullptr, nullptr, false, true, '\xE0'},
    {u'\x0CAB', "\xA5\x73", "\xA5\x73\xC0", "\xA6\xFC", nullptr, nullptr, false, true, '\xE1'},
    {u'\x0CAC', "\xA8", "\xA7", "\xA9", nullptr, nullptr, false, false, '\xE2'},
    {u'\x0CAD', "\xA8\x73", "\xA8\x73\xC0", "\xA9\xFC", nullptr, nullptr, false, false, '\xE3'},
    {u'\x0CAE', "\xAA\xC0\x69", "\xAA\xC0\xC4", "\xAB\xC4", "\xAA\xC9\xC4", "\xAA\xC9\xC6", false,
     false, '\xE4'},
    {u'\x0CAF', "\x41\x69\xC0\x69", "\x41\x69\xC0\xC4", "\xAC\xC4", "\x41\x69\xC9\xC4",
     "\x41\x69\xC9\xC6", false, false, '\xE5'},
    {u'\x0CB0', "\x67", "\x67\xC0", "\x6A", nullptr, nullptr, false, false, '\xE6'},
    {u'\x0CB2', "\xAF", "\xAE", "\xB0", nullptr, nullptr, false, false, '\xE8'},
    {u'\x0CB3', "\xBC", "\xBC\xC0", "\xBD", nullptr, nullptr, false, false, '\xEE'},
    {u'\x0CB5', "\xAA", "\xAA\xC0", "\xAB", nullptr, nullptr, true, true, '\xE9'},
    {u'\x0CB6', "\xB1", "\xB1\xC0", "\xB2", nullptr, nullptr, false, false, '\xEA'},
    {u'\x0CB7', "\xB5", "\xB5\xC0", "\xB6", nullptr, nullptr, false, false, '\xEB'},
    {u'\x0CB8', "\xB8", "\xB8\xC0", "\xB9", nullptr, nullptr, false, false, '\xEC'},
    {u'\x0CB9', "\xBA", "\xBA\xC0", "\xBB", nullptr, nullptr, false, false, '\xED'},
    // The archaic ಱ ೞ, as the decoder reads them: whole letter plus a separate ಿ, the body with
    // its connector before the other signs.
    {u'\x0CB1', "\xBE\xF5", "\xBE\xF5\xC0", "\xBE\xC2", nullptr, nullptr, false, false, '\xF9',
     "\xBE"},
    {u'\x0CDE', "\xBF\xF5", "\xBF\xF5\xC0", "\xBF\xC2", nullptr, nullptr, false, false, '\xFA',
     "\xBF"},
};

// The consonants of the block run from U+0C95 to U+0CB9, and ೞ stands apart at U+0CDE.
constexpr char16_t kFormIndexEnd = 0x0CE0;

constexpr std::array<const ConsonantForms*, kFormIndexEnd - 0x0C80> makeFormIndex()
{
    std::array<const ConsonantForms*, kFormIndexEnd - 0x0C80> index{};
    for (const ConsonantForms& f : consonantForms)
        index[f.cp - 0x0C80] = &f;
    return index;
}

constexpr auto formIndex = makeFormIndex();

const ConsonantForms* formsOf(char32_t c)
{
    return c >= 0x0C80 && c < kFormIndexEnd ? formIndex[c - 0x0C80] : nullptr;
}

const char* independentVowel(char32_t c)
{
    switch (c) {
    case 0x0C85: return "\x43";
    case 0x0C86: return "\x44";
    case 0x0C87: return "\x45";
    case 0x0C88: return "\x46";
    case 0x0C89: return "\x47";
    case 0x0C8A: return "\x48";
    case 0x0C8B: return "\x49\xC4";
    case 0x0C8E: return "\x4A";
    case 0x0C8F: return "\x4B";
    case 0x0C90: return "\x4C";
    case 0x0C92: return "\x4D";
    case 0x0C93: return "\x4E";
    case 0x0C94: return "\x4F";
    default: return nullptr;
    }
}

// A vowel sign with no consonant to hang on is written as its own glyphs.
const char* bareSign(char32_t c)
{
    switch (c) {
    case SignAa: return "\xC1";
    case SignI: return "\xC2";
    case SignIi: return "\xC2\xC3";
    case SignU: return "\xC4";
    case SignUu: return "\xC6";
    case SignVocalicR: return "\xC8";
    case SignE: return "\xC9";
    case SignEe: return "\xC9\xC3";
    case SignAi: return "\xC9\xCA";
    case SignO: return "\xC9\xC6";
    case SignOo: return "\xC9\xC6\xC3";
    case SignAu: return "\xCB";
    case Virama: return "\xEF";
    case Anusvara: return "\x41";
    case Visarga: return "\x42";
    default: return nullptr;
    }
}

bool isVowelSign(char32_t c)
{
    return (c >= SignAa && c <= SignAu && c != 0x0CC5 && c != 0x0CC9) || c == 0x0CE2 || c == 0x0CE3;
}

class Encoder {
public:
    explicit Encoder(const QString& text) : m_text(text) { m_out.reserve(text.size() * 3); }

    Encoded run()
    {
        while (m_pos < m_text.size()) {
            const char32_t c = at(m_pos);
            if (isConsonant(c) || (c == Virama && isConsonant(at(m_pos + 1))))
                cluster();
            else
                single(c);
        }
        return {m_out, m_refusals};
    }

private:
    char32_t at(qsizetype i) const
    {
        if (i >= m_text.size())
            return 0;
        const QChar c = m_text.at(i);
        if (c.isHighSurrogate() && i + 1 < m_text.size() && m_text.at(i + 1).isLowSurrogate())
            return QChar::surrogateToUcs4(c, m_text.at(i + 1));
        return c.unicode();
    }

    void refuse(qsizetype pos, char32_t c) { m_refusals.append({pos, c}); }

    void single(char32_t c)
    {
        const qsizetype pos = m_pos;
        m_pos += c > 0xFFFF ? 2 : 1;
        if (c < 0x80) {
            if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == 0x7F)
                refuse(pos, c); // every letter byte is a Kannada glyph
            else
                m_out.append(char(c));
        } else if (isDigit(c)) {
            m_out.append(char('0' + (c - DigitZero)));
        } else if (const char* v = independentVowel(c)) {
            m_out.append(v);
            tails();
        } else if (const char* s = bareSign(c)) {
            m_out.append(s);
        } else if (c == Zwj || c == Zwnj) {
            // Joiners only steer the choice of glyphs; they have no byte.
        } else if (c >= 0x2018 && c <= 0x201D && c != 0x201A && c != 0x201B) {
            m_out.append(char(0x91 + (c >= 0x201C ? c - 0x201C + 2 : c - 0x2018)));
        } else {
            refuse(pos, c);
        }
    }

    void tails()
    {
        for (char32_t c = at(m_pos); c == Anusvara || c == Visarga; c = at(++m_pos))
            m_out.append(c == Anusvara ? '\x41' : '\x42');
    }

    // Takes "virama + consonant" (a joiner may sit on either side of the virama) at m_pos.
    bool subjoinedAt(char32_t& consonant)
    {
        qsizetype p = m_pos;
        if (at(p) == Zwj)
            ++p;
        if (at(p) != Virama)
            return false;
        ++p;
        if (at(p) == Zwj && p == m_pos + 1)
            ++p;
        if (!isConsonant(at(p)))
            return false;
        consonant = at(p);
        m_pos = p + 1;
        return true;
    }

    void cluster()
    {
        bool reph = false;
        if (at(m_pos) == Ra && at(m_pos + 1) == Virama && isConsonant(at(m_pos + 2))) {
            reph = true;
            m_pos += 2;
        }
        // A subjoined glyph with no consonant before it is a cluster without a base.
        const bool hasBase = at(m_pos) != Virama;
        const ConsonantForms* base = hasBase ? formsOf(at(m_pos)) : nullptr;
        if (hasBase) {
            if (!base)
                refuse(m_pos, at(m_pos));
            ++m_pos;
            nukta();
        }

        QByteArray subjoined;
        char32_t sub = 0;
        while (subjoinedAt(sub)) {
            const qsizetype subPos = m_pos - 1;
            if (const ConsonantForms* f = formsOf(sub))
                subjoined.append(f->cp == Ra && !subjoined.isEmpty() ? '\xE7' : f->subjoined);
            else
                refuse(subPos, sub);
            nukta();
        }

        char32_t vowel = 0;
        if (isVowelSign(at(m_pos)) || at(m_pos) == Virama) {
            vowel = at(m_pos++);
            if (vowel == SignVocalicRr || vowel == 0x0CE2 || vowel == 0x0CE3) {
                refuse(m_pos - 1, vowel);
                vowel = 0;
            }
            if (vowel == Virama && (at(m_pos) == Zwnj || at(m_pos) == Zwj))
                ++m_pos;
        }
        if (base) {
            writeSyllable(*base, vowel, subjoined);
        } else {
            m_out.append(subjoined);
            if (const char* sign = vowel ? bareSign(vowel) : nullptr)
                m_out.append(sign);
        }
        if (reph)
            m_out.append('\xF0');
        tails();
    }

    void nukta()
    {
        // The nukta's glyph is known from one converter only.
        if (at(m_pos) == Nukta)
            refuse(m_pos++, Nukta);
    }

    void writeSyllable(const ConsonantForms& f, char32_t vowel, const QByteArray& subjoined)
    {
        const auto withE = [&f](QByteArray& out) {
            if (f.withE)
                out.append(f.withE);
            else
                out.append(f.body).append('\xC9');
        };
        const auto withO = [&f](QByteArray& out) {
            if (f.withO)
                out.append(f.withO);
            else
                out.append(f.body).append('\xC9').append(f.vaStyleO ? '\xC7' : '\xC6');
        };
        const char* hangsOn = f.bare ? f.bare : f.whole;
        char trailing = 0;
        switch (vowel) {
        case 0: m_out.append(f.whole); break;
        case SignAa: m_out.append(f.body).append('\xC1'); break;
        case SignAu: m_out.append(f.body).append('\xCB'); break;
        case Virama: m_out.append(f.body).append('\xEF'); break;
        case SignI: m_out.append(f.withI); break;
        case SignIi:
            m_out.append(f.withI);
            trailing = '\xC3';
            break;
        case SignU: m_out.append(hangsOn).append(f.vaStyleU ? '\xC5' : '\xC4'); break;
        case SignUu: m_out.append(hangsOn).append(f.vaStyleU ? '\xC7' : '\xC6'); break;
        case SignVocalicR:
            // Under subjoined glyphs the ೃ takes its form written after them.
            m_out.append(hangsOn);
            if (subjoined.isEmpty())
                m_out.append('\xC8');
            else
                trailing = '\xF8';
            break;
        case SignE: withE(m_out); break;
        case SignEe:
            withE(m_out);
            trailing = '\xC3';
            break;
        case SignAi:
            withE(m_out);
            trailing = '\xCA';
            break;
        case SignO: withO(m_out); break;
        case SignOo:
            withO(m_out);
            trailing = '\xC3';
            break;
        default: m_out.append(f.whole); break;
        }
        m_out.append(subjoined);
        if (trailing)
            m_out.append(trailing);
    }

    const QString& m_text;
    qsizetype m_pos = 0;
    QByteArray m_out;
    QList<Refusal> m_refusals;
};

// Nothing composes with a character before it that is ASCII or a Kannada letter, so NFC of a
// text is NFC of its pieces cut before such characters.
bool startsNfcPiece(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x80 || (u >= VowelA && u <= Ha);
}

// Qt takes time growing with the square of the length to normalise a text that holds both a
// decomposable sign (ೇ, ೌ) and one that may compose (ೂ), as much Kannada does; pieces keep it
// linear for whole documents.
QString nfcOf(QStringView text)
{
    constexpr qsizetype PieceLength = 1024;
    QString nfc;
    nfc.reserve(text.size());
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = std::min(start + PieceLength, text.size());
        while (end < text.size() && !startsNfcPiece(text[end]))
            ++end;
        nfc += text.sliced(start, end - start).toString().normalized(QString::NormalizationForm_C);
        start = end;
    }
    return nfc;
}

} // namespace

Encoded encode(QStringView unicode)
{
    return Encoder(nfcOf(unicode)).run();
}

} // namespace varnel
