#include "find/TextFolding.h"

#include <algorithm>
#include <array>

#include "platform/varnel/KannadaLetters.h"

namespace find {

namespace {

namespace kn = varnel::kn;

constexpr char16_t kBlock = 0x0C80; // the Kannada block, U+0C80..U+0CFF

// How a character of the Kannada block enters the loose key.
enum class Kind : unsigned char {
    Other,     // kept as it is
    Consonant, // its letters, then the inherent a unless a sign or virama follows
    Vowel,     // an independent vowel, or anusvara and visarga: its letters
    Sign,      // a vowel sign: its letters in place of the inherent a
    Virama,    // no inherent a
    Silent,    // nukta, avagraha, a stray length mark: nothing, the inherent a still pending
    Digit,     // as the ASCII digit
};

struct Letter {
    Kind kind = Kind::Other;
    const char* latin = "";
};

using Table = std::array<Letter, 0x80>;

constexpr Table makeTable()
{
    Table t{};
    const auto set = [&t](char16_t c, Kind kind, const char* latin) {
        t[c - kBlock] = Letter{kind, latin};
    };
    // Aspirated with plain, retroflex with dental, the sibilants and the nasals as one.
    const char* const consonants[] = {
        "k", "k", "g", "g", "n", // ಕ ಖ ಗ ಘ ಙ
        "c", "c", "j", "j", "n", // ಚ ಛ ಜ ಝ ಞ
        "t", "t", "d", "d", "n", // ಟ ಠ ಡ ಢ ಣ
        "t", "t", "d", "d", "n", // ತ ಥ ದ ಧ ನ
        "",  "p", "p", "b", "b", // (U+0CA9) ಪ ಫ ಬ ಭ
        "m", "y", "r", "r", "l", // ಮ ಯ ರ ಱ ಲ
        "l", "",  "v", "s", "s", // ಳ (U+0CB4) ವ ಶ ಷ
        "s", "h",                // ಸ ಹ
    };
    for (char16_t c = kn::Ka; c <= kn::Ha; ++c) {
        if (kn::isConsonant(c))
            set(c, Kind::Consonant, consonants[c - kn::Ka]);
    }
    set(kn::Llla, Kind::Consonant, "l");
    // Vowels without their length: independent (from U+0C85) and signs (from U+0CBE).
    const char* const vowels[] = {"a", "a", "i", "i",  "u", "u", "ru", "lu",
                                  "",  "e", "e", "ai", "",  "o", "o",  "au"};
    for (char16_t c = kn::VowelA; c <= 0x0C94; ++c) {
        if (*vowels[c - kn::VowelA])
            set(c, Kind::Vowel, vowels[c - kn::VowelA]);
    }
    set(kn::VowelVocalicRr, Kind::Vowel, "ru");
    set(0x0CE1, Kind::Vowel, "lu");
    for (char16_t c = kn::SignAa; c <= kn::SignAu; ++c) {
        if (*vowels[c - kn::SignAa + 1])
            set(c, Kind::Sign, vowels[c - kn::SignAa + 1]);
    }
    set(kn::SignVocalicRr, Kind::Sign, "ru");
    set(0x0CE2, Kind::Sign, "lu");
    set(0x0CE3, Kind::Sign, "lu");
    set(0x0C81, Kind::Vowel, "m"); // candrabindu, as the anusvara
    set(kn::Anusvara, Kind::Vowel, "m");
    set(kn::Visarga, Kind::Vowel, "h");
    set(kn::Virama, Kind::Virama, "");
    for (char16_t c : {kn::Nukta, kn::Avagraha, kn::LengthMark, kn::AiLengthMark})
        set(c, Kind::Silent, "");
    for (char16_t c = kn::DigitZero; c <= kn::DigitZero + 9; ++c)
        set(c, Kind::Digit, "");
    return t;
}

constexpr Table kLetters = makeTable();

// Classes of the key's Latin letters, for the rules that look at the letter before.
enum LetterClass : unsigned char {
    kLetter = 1,    // a-z
    kConsonant = 2, // not a vowel letter
    kAspirable = 4, // spelled with an h after it when aspirated (kh, ch, th, sh ...)
    kNasal = 8,     // m, n
};

constexpr std::array<unsigned char, 0x80> makeLetterClasses()
{
    std::array<unsigned char, 0x80> classes{};
    for (char c = 'a'; c <= 'z'; ++c)
        classes[size_t(c)] = kLetter | kConsonant;
    for (char c : {'a', 'e', 'i', 'o', 'u'})
        classes[size_t(c)] = kLetter;
    for (char c : {'b', 'c', 'd', 'g', 'j', 'k', 'p', 's', 't'})
        classes[size_t(c)] |= kAspirable;
    for (char c : {'m', 'n'})
        classes[size_t(c)] |= kNasal;
    return classes;
}

constexpr std::array<unsigned char, 0x80> kLetterClasses = makeLetterClasses();

unsigned char letterClass(char16_t c)
{
    return c < 0x80 ? kLetterClasses[c] : 0;
}

// Writes the key one character at a time and applies the rules that look at the character
// before: an h after an aspirable consonant and a repeated letter are dropped (aspiration,
// vowel length and doubled consonants), and m before another consonant that is no nasal
// becomes n, where the anusvara has been written as m (so ಬೆಂಗ, ಬೆನ್ಗ, "beng" and "bemg" all
// read "beng"). Works on a buffer sized for the longest key, since it runs on every field.
class KeyWriter {
public:
    KeyWriter(QString& key, qsizetype textSize, std::vector<KeySource>* sources)
        : m_key(key), m_sources(sources)
    {
        // No character writes more than three: a pending inherent a and two letters.
        m_key.resize(textSize * 3);
        m_begin = m_out = reinterpret_cast<char16_t*>(m_key.data());
        if (m_sources)
            m_sources->clear();
    }

    ~KeyWriter() { m_key.truncate(m_out - m_begin); }
    KeyWriter(const KeyWriter&) = delete;
    KeyWriter& operator=(const KeyWriter&) = delete;

    void put(char16_t c, qsizetype begin, qsizetype end)
    {
        const unsigned char type = letterClass(c);
        if (type & kLetter) {
            const char16_t last = m_out == m_begin ? 0 : m_out[-1];
            const unsigned char lastType = letterClass(last);
            if ((c == 'h' && (lastType & kAspirable)) || c == last) {
                extendLast(end);
                return;
            }
            if (last == 'm' && (type & kConsonant) && !(type & kNasal))
                m_out[-1] = 'n';
        }
        *m_out++ = c;
        if (m_sources)
            m_sources->push_back({begin, end});
    }

    void put(const char* latin, qsizetype begin, qsizetype end)
    {
        for (; *latin; ++latin)
            put(char16_t(*latin), begin, end);
    }

    // A character that writes nothing belongs to the key character before it.
    void extendLast(qsizetype end)
    {
        if (m_sources && !m_sources->empty())
            m_sources->back().end = end;
    }

private:
    QString& m_key;
    std::vector<KeySource>* m_sources;
    char16_t* m_begin;
    char16_t* m_out;
};

// The Latin letter at `at` in lower case, 0 for anything else (or outside the text).
char16_t latinAt(QStringView text, qsizetype at)
{
    if (at < 0 || at >= text.size())
        return 0;
    const char16_t c = text[at].unicode() | 0x20;
    return c >= 'a' && c <= 'z' ? c : 0;
}

bool isLatinConsonant(char16_t c)
{
    return (letterClass(c) & kConsonant) && c != 'y';
}

// A y between two consonants is the vowel ai of English spellings (Mysuru, Byndoor).
bool yReadsAi(QStringView text, qsizetype at)
{
    return latinAt(text, at) == 'y' && isLatinConsonant(latinAt(text, at - 1)) &&
           isLatinConsonant(latinAt(text, at + 1));
}

// Latin letters as the loose key spells them: lower case, w as v, f as p, z as j, q as k,
// x as ks (ITRANS's letters for ವ, ಫ಼, ಜ಼, ಕ಼, ಕ್ಷ), and ee, oo and a y between consonants
// as the i, u and ai they stand for in common English spellings (Sreenivas, Bangaloor, Mysuru).
qsizetype putLatin(KeyWriter& writer, QStringView text, qsizetype i)
{
    const char16_t c = latinAt(text, i);
    if ((c == 'e' || c == 'o') && latinAt(text, i + 1) == c) {
        writer.put(c == 'e' ? "i" : "u", i, i + 2);
        return 2;
    }
    if (yReadsAi(text, i)) {
        writer.put("ai", i, i + 1);
        return 1;
    }
    switch (c) {
    case 'w': writer.put("v", i, i + 1); break;
    case 'f': writer.put("p", i, i + 1); break;
    case 'z': writer.put("j", i, i + 1); break;
    case 'q': writer.put("k", i, i + 1); break;
    case 'x': writer.put("ks", i, i + 1); break;
    default: writer.put(c, i, i + 1); break;
    }
    return 1;
}

bool isMark(QChar c)
{
    switch (c.category()) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing: return true;
    default: return c == kn::Zwj || c == kn::Zwnj;
    }
}

} // namespace

void foldLiteral(QStringView text, QString& folded)
{
    folded.resize(text.size());
    char16_t* out = reinterpret_cast<char16_t*>(folded.data());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80)
            *out++ = (u >= 'A' && u <= 'Z') ? char16_t(u + 0x20) : u;
        else if (u >= kn::DigitZero && u <= kn::DigitZero + 9)
            *out++ = char16_t(u - kn::DigitZero + '0');
        else if (u >= kBlock && u < kBlock + 0x80)
            *out++ = u;
        else if (u != kn::Zwj && u != kn::Zwnj)
            *out++ = c.toCaseFolded().unicode();
    }
    folded.truncate(out - reinterpret_cast<char16_t*>(folded.data()));
}

QString foldedLiteral(QStringView text)
{
    QString folded;
    foldLiteral(text, folded);
    return folded;
}

void looseKey(QStringView text, QString& key, std::vector<KeySource>* sources)
{
    KeyWriter writer(key, text.size(), sources);
    // The consonant still waiting for its vowel: the inherent a unless a sign or virama comes.
    qsizetype pending = -1;
    const auto inherentVowel = [&] {
        if (pending >= 0)
            writer.put("a", pending, pending + 1);
        pending = -1;
    };
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text[i];
        const char16_t u = c.unicode();
        if (u >= kBlock && u < kBlock + 0x80) {
            const Letter& letter = kLetters[u - kBlock];
            switch (letter.kind) {
            case Kind::Consonant:
                inherentVowel();
                writer.put(letter.latin, i, i + 1);
                pending = i;
                break;
            case Kind::Sign:
                pending = -1;
                writer.put(letter.latin, i, i + 1);
                break;
            case Kind::Virama:
                pending = -1;
                writer.extendLast(i + 1);
                break;
            case Kind::Silent: writer.extendLast(i + 1); break;
            case Kind::Digit:
                inherentVowel();
                writer.put(char16_t(u - kn::DigitZero + '0'), i, i + 1);
                break;
            case Kind::Vowel:
                inherentVowel();
                writer.put(letter.latin, i, i + 1);
                break;
            case Kind::Other:
                inherentVowel();
                writer.put(u, i, i + 1);
                break;
            }
            ++i;
        } else if (u == kn::Zwj || u == kn::Zwnj) {
            writer.extendLast(i + 1);
            ++i;
        } else if ((u | 0x20) >= 'a' && (u | 0x20) <= 'z') {
            inherentVowel();
            i += putLatin(writer, text, i);
        } else if (u < 0x80) {
            inherentVowel();
            writer.put(u, i, i + 1);
            ++i;
        } else {
            inherentVowel();
            writer.put(c.toCaseFolded().unicode(), i, i + 1);
            ++i;
        }
    }
    inherentVowel();
}

QString looseKey(QStringView text)
{
    QString key;
    looseKey(text, key);
    return key;
}

bool spellsKannada(QStringView text)
{
    int consonants = 0; // in the run so far
    int repeated = 0;   // times the last letter came running
    char16_t last = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = latinAt(text, i);
        repeated = c && c == last ? repeated + 1 : 1;
        if (c && repeated >= 3)
            return false;
        const bool aspiration = c == 'h' && (letterClass(last) & kAspirable);
        const bool anusvara = consonants == 0 && (letterClass(c) & kNasal);
        last = c;
        if ((!isLatinConsonant(c) && c != 'y') || yReadsAi(text, i))
            consonants = 0; // a vowel, or no Latin letter
        else if (!aspiration && !anusvara && (consonants += c == 'x' ? 2 : 1) > 3)
            return false;
    }
    return true;
}

QString looseInfix(QStringView text)
{
    // A Latin y at either end may read as ai beside a consonant out of sight.
    while (latinAt(text, 0) == 'y')
        text = text.sliced(1);
    while (latinAt(text, text.size() - 1) == 'y')
        text.chop(1);
    QString key = looseKey(text);
    qsizetype last = text.size() - 1;
    while (last >= 0 && (text[last] == kn::Zwj || text[last] == kn::Zwnj))
        --last;
    if (last >= 0 && (kn::isConsonant(text[last].unicode()) || text[last] == kn::Nukta) &&
        key.endsWith(QLatin1Char('a')))
        key.chop(1);
    if (key.endsWith(QLatin1Char('m')))
        key.chop(1);
    // Latin ee and oo read as i and u: an e or o at either end may pair with one beside it.
    const bool latin = std::any_of(text.begin(), text.end(),
                                   [](QChar c) { return c.unicode() < 0x80 && c.isLetter(); });
    while (latin && (key.endsWith(QLatin1Char('e')) || key.endsWith(QLatin1Char('o'))))
        key.chop(1);
    while (latin && (key.startsWith(QLatin1Char('e')) || key.startsWith(QLatin1Char('o'))))
        key.remove(0, 1);
    if (key.startsWith(QLatin1Char('h')))
        key.remove(0, 1);
    return key;
}

KeySource wholeLetters(QStringView text, qsizetype begin, qsizetype end)
{
    const auto joinsBefore = [&text](qsizetype at) {
        // A consonant after a virama is a subjoined part of the letter before it; a ZWNJ
        // between them keeps them apart.
        return at > 0 && at < text.size() && kn::isConsonant(text[at].unicode()) &&
               text[at - 1] == QChar(kn::Virama);
    };
    while (begin > 0 && begin < text.size() && (isMark(text[begin]) || joinsBefore(begin)))
        --begin;
    while (end < text.size() && (isMark(text[end]) || joinsBefore(end)))
        ++end;
    return {begin, end};
}

} // namespace find
