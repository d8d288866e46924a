#pragma once

// Code points and letter classes of the Kannada block that the codec works with.
namespace varnel::kn {

inline constexpr char16_t Anusvara = 0x0C82;
inline constexpr char16_t Visarga = 0x0C83;
inline constexpr char16_t VowelA = 0x0C85;
inline constexpr char16_t VowelVocalicR = 0x0C8B;
inline constexpr char16_t VowelVocalicRr = 0x0CE0;
inline constexpr char16_t Ka = 0x0C95;
inline constexpr char16_t Dda = 0x0CA1;
inline constexpr char16_t Da = 0x0CA6;
inline constexpr char16_t Pa = 0x0CAA;
inline constexpr char16_t Ba = 0x0CAC;
inline constexpr char16_t Ma = 0x0CAE;
inline constexpr char16_t Ya = 0x0CAF;
inline constexpr char16_t Ra = 0x0CB0;
inline constexpr char16_t Rra = 0x0CB1;
inline constexpr char16_t Va = 0x0CB5;
inline constexpr char16_t Ha = 0x0CB9;
inline constexpr char16_t Jha = 0x0C9D;
inline constexpr char16_t Llla = 0x0CDE;
inline constexpr char16_t Nukta = 0x0CBC;
inline constexpr char16_t Avagraha = 0x0CBD;
inline constexpr char16_t SignAa = 0x0CBE;
inline constexpr char16_t SignI = 0x0CBF;
inline constexpr char16_t SignIi = 0x0CC0;
inline constexpr char16_t SignU = 0x0CC1;
inline constexpr char16_t SignUu = 0x0CC2;
inline constexpr char16_t SignVocalicR = 0x0CC3;
inline constexpr char16_t SignVocalicRr = 0x0CC4;
inline constexpr char16_t SignE = 0x0CC6;
inline constexpr char16_t SignEe = 0x0CC7;
inline constexpr char16_t SignAi = 0x0CC8;
inline constexpr char16_t SignO = 0x0CCA;
inline constexpr char16_t SignOo = 0x0CCB;
inline constexpr char16_t SignAu = 0x0CCC;
inline constexpr char16_t Virama = 0x0CCD;
inline constexpr char16_t LengthMark = 0x0CD5;
inline constexpr char16_t AiLengthMark = 0x0CD6;
inline constexpr char16_t DigitZero = 0x0CE6;
inline constexpr char16_t Zwnj = 0x200C;
inline constexpr char16_t Zwj = 0x200D;
inline constexpr char16_t Replacement = 0xFFFD;

// Consonants of the block, including the archaic ಱ and ೞ (U+0CA9 and U+0CB4 are unassigned).
constexpr bool isConsonant(char32_t c)
{
    return (c >= Ka && c <= Ha && c != 0x0CA9 && c != 0x0CB4) || c == Llla;
}

constexpr bool isDigit(char32_t c)
{
    return c >= DigitZero && c <= DigitZero + 9;
}

// NFC pairs of the block: each second part composes with the sign written before it.
constexpr char16_t composePair(char16_t first, char16_t second)
{
    if (second == LengthMark) {
        if (first == SignI)
            return SignIi;
        if (first == SignE)
            return SignEe;
        if (first == SignO)
            return SignOo;
    } else if (second == AiLengthMark) {
        if (first == SignE)
            return SignAi;
    } else if (second == SignUu) {
        if (first == SignE)
            return SignO;
    }
    return 0;
}

} // namespace varnel::kn
