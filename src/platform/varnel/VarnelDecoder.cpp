#include "platform/varnel/VarnelCodec.h"

#include <array>
#include <cstdint>

#include "platform/varnel/KannadaLetters.h"

// Decoding parses glyph bytes into syllables (a syllable's parts may come in any order after its
// consonant glyph) and writes each syllable in logical order. Everything runs from one byte table
// and a few multi-byte letters, so that whole tables decode at memory speed.

namespace varnel {
namespace {

using namespace kn;

enum class Kind : std::uint8_t {
    Char,      // written as it is, ends the syllable
    Consonant, // body or whole letter
    Ligature,  // consonant + ಿ in one glyph
    Vowel,     // independent vowel
    Piece,     // vowel sign or part of one (0 = head mark only)
    Subjoined,
    Reph,
    Nukta,
    Tail,     // anusvara, visarga
    Aspirate, // turns ಡ ದ ಪ ಬ into ಢ ಧ ಫ ಭ
    Ignore,   // spacers, and pieces of multi-byte letters found alone
};

struct ByteInfo {
    Kind kind = Kind::Char;
    char16_t cp = Replacement;
};

constexpr std::array<ByteInfo, 256> makeByteTable()
{
    std::array<ByteInfo, 256> t{};
    for (int b = 0; b < 0x7F; ++b)
        t[b] = {Kind::Char, char16_t(b)};
    for (int d = 0; d < 10; ++d)
        t[0x30 + d] = {Kind::Char, char16_t(DigitZero + d)};
    // Windows-1252 curly quotes, seen in real documents.
    t[0x91] = {Kind::Char, 0x2018};
    t[0x92] = {Kind::Char, 0x2019};
    t[0x93] = {Kind::Char, 0x201C};
    t[0x94] = {Kind::Char, 0x201D};
    t[0xA0] = {Kind::Char, u' '};

    auto set = [&t](unsigned char b, Kind k, char16_t cp) { t[b] = {k, cp}; };
    set('A', Kind::Tail, Anusvara);
    set('B', Kind::Tail, Visarga);
    const char16_t vowels[] = {0x0C85, 0x0C86, 0x0C87, 0x0C88, 0x0C89, 0x0C8A};
    for (int i = 0; i < 6; ++i)
        set('C' + i, Kind::Vowel, vowels[i]);
    set('I', Kind::Vowel, VowelVocalicR);
    set('J', Kind::Vowel, 0x0C8E);
    set('K', Kind::Vowel, 0x0C8F);
    set('L', Kind::Vowel, 0x0C90);
    set('M', Kind::Vowel, 0x0C92);
    set('N', Kind::Vowel, 0x0C93);
    set('O', Kind::Vowel, 0x0C94);

    struct Glyph {
        unsigned char byte;
        Kind kind;
        char16_t cp;
    };
    constexpr Glyph consonants[] = {
        {'P', Kind::Consonant, 0x0C95},  {'Q', Kind::Ligature, 0x0C95},
        {'R', Kind::Consonant, 0x0C96},  {'S', Kind::Consonant, 0x0C96},
        {'T', Kind::Ligature, 0x0C96},   {'U', Kind::Consonant, 0x0C97},
        {'V', Kind::Ligature, 0x0C97},   {'W', Kind::Consonant, 0x0C98},
        {'X', Kind::Ligature, 0x0C98},   {'Y', Kind::Consonant, 0x0C99},
        {'Z', Kind::Consonant, 0x0C9A},  {'a', Kind::Ligature, 0x0C9A},
        {'b', Kind::Consonant, 0x0C9B},  {'c', Kind::Ligature, 0x0C9B},
        {'d', Kind::Consonant, 0x0C9C},  {'e', Kind::Consonant, 0x0C9C},
        {'f', Kind::Ligature, 0x0C9C},   {'g', Kind::Consonant, 0x0CB0},
        {'j', Kind::Ligature, 0x0CB0},   {'k', Kind::Consonant, 0x0C9E},
        {'l', Kind::Consonant, 0x0C9F},  {'m', Kind::Consonant, 0x0C9F},
        {'n', Kind::Ligature, 0x0C9F},   {'o', Kind::Consonant, 0x0CA0},
        {'p', Kind::Ligature, 0x0CA0},   {'q', Kind::Consonant, 0x0CA1},
        {'r', Kind::Ligature, 0x0CA1},   {'t', Kind::Consonant, 0x0CA3},
        {'u', Kind::Consonant, 0x0CA3},  {'v', Kind::Consonant, 0x0CA4},
        {'w', Kind::Ligature, 0x0CA4},   {'x', Kind::Consonant, 0x0CA5},
        {'y', Kind::Ligature, 0x0CA5},   {'z', Kind::Consonant, 0x0CA6},
        {0xA2, Kind::Ligature, 0x0CA6},  {0xA3, Kind::Consonant, 0x0CA8},
        {0xA4, Kind::Ligature, 0x0CA8},  {0xA5, Kind::Consonant, 0x0CAA},
        {0xA6, Kind::Ligature, 0x0CAA},  {0xA7, Kind::Consonant, 0x0CAC},
        {0xA8, Kind::Consonant, 0x0CAC}, {0xA9, Kind::Ligature, 0x0CAC},
        {0xAA, Kind::Consonant, 0x0CB5}, {0xAB, Kind::Ligature, 0x0CB5},
        {0xAC, Kind::Ligature, 0x0CAF},  {0xAE, Kind::Consonant, 0x0CB2},
        {0xAF, Kind::Consonant, 0x0CB2}, {0xB0, Kind::Ligature, 0x0CB2},
        {0xB1, Kind::Consonant, 0x0CB6}, {0xB2, Kind::Ligature, 0x0CB6},
        {0xB5, Kind::Consonant, 0x0CB7}, {0xB6, Kind::Ligature, 0x0CB7},
        {0xB8, Kind::Consonant, 0x0CB8}, {0xB9, Kind::Ligature, 0x0CB8},
        {0xBA, Kind::Consonant, 0x0CB9}, {0xBB, Kind::Ligature, 0x0CB9},
        {0xBC, Kind::Consonant, 0x0CB3}, {0xBD, Kind::Ligature, 0x0CB3},
        {0xBE, Kind::Consonant, Rra},    {0xBF, Kind::Consonant, Llla},
    };
    for (const Glyph& g : consonants)
        set(g.byte, g.kind, g.cp);
    set('h', Kind::Ignore, 0);
    set('i', Kind::Ignore, 0);
    set(0xF5, Kind::Ignore, 0);
    set(0xF6, Kind::Ignore, 0);
    set(0xF7, Kind::Ignore, 0);
    set('s', Kind::Aspirate, 0);
    set(0xFC, Kind::Aspirate, 0);

    set(0xC0, Kind::Piece, 0);
    set(0xC1, Kind::Piece, SignAa);
    set(0xC2, Kind::Piece, SignI);
    set(0xC3, Kind::Piece, LengthMark);
    set(0xC4, Kind::Piece, SignU);
    set(0xC5, Kind::Piece, SignU);
    set(0xC6, Kind::Piece, SignUu);
    set(0xC7, Kind::Piece, SignUu);
    set(0xC8, Kind::Piece, SignVocalicR);
    set(0xC9, Kind::Piece, SignE);
    set(0xCA, Kind::Piece, AiLengthMark);
    set(0xCB, Kind::Piece, SignAu);
    set(0xEF, Kind::Piece, Virama);
    set(0xF1, Kind::Piece, SignVocalicRr);
    set(0xF8, Kind::Piece, SignVocalicR);

    // Subjoined consonants CC-E6 follow the block's order (skipping unassigned U+0CA9).
    for (int b = 0xCC; b <= 0xE6; ++b) {
        const int cp = Ka + (b - 0xCC);
        set(b, Kind::Subjoined, char16_t(cp >= 0x0CA9 ? cp + 1 : cp));
    }
    set(0xE7, Kind::Subjoined, Ra);
    set(0xE8, Kind::Subjoined, 0x0CB2);
    set(0xE9, Kind::Subjoined, Va);
    set(0xEA, Kind::Subjoined, 0x0CB6);
    set(0xEB, Kind::Subjoined, 0x0CB7);
    set(0xEC, Kind::Subjoined, 0x0CB8);
    set(0xED, Kind::Subjoined, Ha);
    set(0xEE, Kind::Subjoined, 0x0CB3);
    set(0xF9, Kind::Subjoined, Rra);
    set(0xFA, Kind::Subjoined, Llla);
    set(0xF0, Kind::Reph, 0);
    set(0xF3, Kind::Nukta, 0);
    return t;
}

constexpr std::array<ByteInfo, 256> byteTable = makeByteTable();

// A token: what one glyph or one multi-byte letter contributes.
struct Token {
    Kind kind;
    char16_t cp;
    char16_t pieces[2] = {0, 0};
    int length = 1;
};

bool startsWith(const unsigned char* p, const unsigned char* end, const char* bytes, int n)
{
    if (end - p < n)
        return false;
    for (int i = 0; i < n; ++i)
        if (p[i] != static_cast<unsigned char>(bytes[i]))
            return false;
    return true;
}

// The ಮ ಯ ಝ family after its first glyph: inherent a (hook), stem, ೆ form, ೊ form.
bool composite(const unsigned char* p, const unsigned char* end, const char* a, const char* stem,
               const char* e, const char* o, int n, char16_t cp, Token& t)
{
    if (startsWith(p, end, a, n) || startsWith(p, end, stem, n)) {
        t = {Kind::Consonant, cp, {0, 0}, n};
    } else if (startsWith(p, end, e, n)) {
        t = {Kind::Consonant, cp, {SignE, 0}, n};
    } else if (startsWith(p, end, o, n)) {
        t = {Kind::Consonant, cp, {SignE, SignUu}, n};
    } else {
        return false;
    }
    return true;
}

// Longest match: the multi-byte letters win over their first glyph read alone.
Token nextToken(const unsigned char* p, const unsigned char* end)
{
    const ByteInfo& info = byteTable[*p];
    Token t{info.kind, info.cp};
    switch (*p) {
    case 0xAA: // ವ body, or ಮ
        composite(p, end, "\xAA\xC0\xC4", "\xAA\xC0\x69", "\xAA\xC9\xC4", "\xAA\xC9\xC6", 3, Ma, t);
        break;
    case 0xAB: // ವಿ, or ಮಿ
        if (startsWith(p, end, "\xAB\xC4", 2))
            t = {Kind::Ligature, Ma, {0, 0}, 2};
        break;
    case 'A': // anusvara, or ಯ
        composite(p, end, "\x41\x69\xC0\xC4", "\x41\x69\xC0\x69", "\x41\x69\xC9\xC4",
                  "\x41\x69\xC9\xC6", 4, Ya, t);
        break;
    case '0': // digit zero, or ಯ written with the digit as its ring
        composite(p, end, "\x30\x69\xC0\xC4", "\x30\x69\xC0\x69", "\x30\x69\xC9\xC4",
                  "\x30\x69\xC9\xC6", 4, Ya, t);
        break;
    case 'g': // ರ body, or ಝ
        composite(p, end, "\x67\xC0\x68\xC4", "\x67\xC0\x68\x69", "\x67\xC9\x68\xC4",
                  "\x67\xC9\x68\xC6", 4, Jha, t);
        break;
    case 'j': // ರಿ, or ಝಿ
        if (startsWith(p, end, "\x6A\x68\xC4", 3))
            t = {Kind::Ligature, Jha, {0, 0}, 3};
        break;
    case 0xAC: // ಯಿ: the glyph with its hook (a missing hook reads the same)
        if (startsWith(p, end, "\xAC\xC4", 2))
            t.length = 2;
        break;
    case 'I': // ಋ, ೠ
        if (startsWith(p, end, "\x49\xC6\x32", 3))
            t = {Kind::Vowel, VowelVocalicRr, {0, 0}, 3};
        else if (startsWith(p, end, "\x49\xC4", 2))
            t.length = 2;
        break;
    case 0xBE: // ಱ, ೞ: body with connector
    case 0xBF:
        if (startsWith(p + 1, end, "\xF5", 1))
            t.length = 2;
        break;
    default: break;
    }
    if (t.kind == Kind::Ligature && t.pieces[0] == 0)
        t.pieces[0] = SignI;
    return t;
}

// One syllable being assembled. Parts beyond a list's capacity start a new syllable, so that
// any input stays bounded; real syllables need two or three of each at most.
class SyllableWriter {
public:
    explicit SyllableWriter(char16_t* out) : m_begin(out), m_out(out) {}

    char16_t* end() const { return m_out; }

    void write(char16_t c)
    {
        finish();
        *m_out++ = c;
    }

    void startConsonant(const Token& t)
    {
        finish();
        // A dead consonant right before another consonant keeps its virama visible.
        if (m_out != m_begin && m_out[-1] == Virama)
            *m_out++ = Zwnj;
        m_state = State::Consonant;
        m_base = t.cp;
        for (char16_t p : t.pieces)
            if (p)
                m_pieces[m_pieceCount++] = p;
    }

    void startVowel(char16_t cp)
    {
        finish();
        m_state = State::Vowel;
        m_base = cp;
    }

    void addPiece(char16_t p)
    {
        if (p == 0)
            return; // the head mark alone: inherent a
        attachable();
        // A doubled e-sign is a typing slip; the doubled u-sign of ಮು is not.
        if (p == SignE && m_pieceCount && m_pieces[m_pieceCount - 1] == SignE)
            return;
        if (m_pieceCount == Capacity)
            restartBare();
        m_pieces[m_pieceCount++] = p;
    }

    void addSubjoined(char16_t c)
    {
        attachable();
        if (m_subCount == Capacity)
            restartBare();
        m_subs[m_subCount++] = c;
    }

    void addTail(char16_t c)
    {
        if (m_state == State::None)
            m_state = State::Bare;
        if (m_tailCount == Capacity)
            restartBare();
        m_tails[m_tailCount++] = c;
    }

    void setReph()
    {
        attachable();
        m_reph = true;
    }

    void setNukta()
    {
        // Without a consonant a nukta would follow a virama, which no NFC text does: drop it.
        if (m_state == State::Consonant)
            m_nukta = true;
    }

    void aspirate()
    {
        if (m_state != State::Consonant)
            return;
        if (m_base == Dda || m_base == Da || m_base == Pa || m_base == Ba)
            ++m_base;
    }

    void finish()
    {
        if (m_state == State::None)
            return;
        // A reph needs a consonant to stand on; over bare subjoined glyphs it is dropped.
        if (m_reph && (m_base || m_subCount == 0)) {
            *m_out++ = Ra;
            *m_out++ = Virama;
        }
        if (m_base)
            *m_out++ = m_base;
        if (m_nukta)
            *m_out++ = Nukta;
        // ರ carrying a subjoined glyph is a different picture from the reph.
        if (m_state == State::Consonant && m_base == Ra && m_subCount && !m_reph)
            *m_out++ = Zwj;
        for (int i = 0; i < m_subCount; ++i) {
            *m_out++ = Virama;
            *m_out++ = m_subs[i];
        }
        for (int i = 0; i < m_pieceCount; ++i) {
            const char16_t p = m_pieces[i];
            const char16_t composed = m_out != m_begin ? composePair(m_out[-1], p) : 0;
            if (composed)
                m_out[-1] = composed;
            else
                *m_out++ = p;
        }
        for (int i = 0; i < m_tailCount; ++i)
            *m_out++ = m_tails[i];
        reset();
    }

private:
    static constexpr int Capacity = 8;
    enum class State : std::uint8_t { None, Consonant, Vowel, Bare };

    // Signs need a consonant syllable; without one they are written bare.
    void attachable()
    {
        if (m_state == State::None || m_state == State::Vowel) {
            finish();
            m_state = State::Bare;
        }
    }

    void restartBare()
    {
        finish();
        m_state = State::Bare;
    }

    void reset()
    {
        m_state = State::None;
        m_base = 0;
        m_reph = m_nukta = false;
        m_subCount = m_pieceCount = m_tailCount = 0;
    }

    char16_t* const m_begin;
    char16_t* m_out;
    State m_state = State::None;
    char16_t m_base = 0;
    bool m_reph = false;
    bool m_nukta = false;
    int m_subCount = 0;
    int m_pieceCount = 0;
    int m_tailCount = 0;
    char16_t m_subs[Capacity];
    char16_t m_pieces[Capacity];
    char16_t m_tails[Capacity];
};

} // namespace

QString decode(QByteArrayView bytes)
{
    // No byte writes more than three characters (a consonant glyph: ZWNJ, consonant, ಿ;
    // a subjoined glyph under ರ: ZWJ, virama, consonant).
    QString result(bytes.size() * 3, Qt::Uninitialized);
    SyllableWriter w(reinterpret_cast<char16_t*>(result.data()));
    auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        const Token t = nextToken(p, end);
        p += t.length;
        switch (t.kind) {
        case Kind::Char: w.write(t.cp); break;
        case Kind::Consonant:
        case Kind::Ligature: w.startConsonant(t); break;
        case Kind::Vowel: w.startVowel(t.cp); break;
        case Kind::Piece: w.addPiece(t.cp); break;
        case Kind::Subjoined: w.addSubjoined(t.cp); break;
        case Kind::Reph: w.setReph(); break;
        case Kind::Nukta: w.setNukta(); break;
        case Kind::Tail: w.addTail(t.cp); break;
        case Kind::Aspirate: w.aspirate(); break;
        case Kind::Ignore: break;
        }
    }
    w.finish();
    result.truncate(w.end() - reinterpret_cast<char16_t*>(result.data()));
    return result;
}

} // namespace varnel
