#include "legacy/JetValues.h"

#include <cmath>
#include <cstdio>

#include <QDate>

namespace legacy {

namespace {

constexpr int kSecondsPerDay = 86400;

// Windows-1252 characters of bytes 80..9F. The five bytes the code page leaves undefined
// (81, 8D, 8F, 90, 9D) were carried over as U+0081 and so on, which is what these entries say.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::optional<unsigned char> byteFor(char32_t cp, JetTextForm form)
{
    if (form == JetTextForm::Latin1)
        return cp < 0x100 ? std::optional<unsigned char>(static_cast<unsigned char>(cp))
                          : std::nullopt;
    if (cp < 0x80 || (cp >= 0xA0 && cp < 0x100))
        return static_cast<unsigned char>(cp);
    for (int i = 0; i < 32; ++i) {
        if (kCp1252High[i] == cp)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

// One code point from strict UTF-8 at `at`, advancing it; nullopt for a malformed sequence.
std::optional<char32_t> nextCodePoint(QByteArrayView utf8, qsizetype& at)
{
    const auto lead = static_cast<unsigned char>(utf8[at++]);
    if (lead < 0x80)
        return lead;
    int extra = 0;
    char32_t cp = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
    } else {
        return std::nullopt;
    }
    if (at + extra > utf8.size())
        return std::nullopt;
    for (int i = 0; i < extra; ++i) {
        const auto next = static_cast<unsigned char>(utf8[at++]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        cp = (cp << 6) | (next & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return std::nullopt;
    return cp;
}

struct DayAndSeconds {
    qint64 day;
    int seconds;
};

std::optional<DayAndSeconds> split(double days)
{
    // Jet's own limits: 100-01-01 and 9999-12-31.
    if (!std::isfinite(days) || days <= -657435.0 || days >= 2958466.0)
        return std::nullopt;
    const double whole = std::trunc(days);
    long long seconds = std::llround(std::fabs(days - whole) * kSecondsPerDay);
    // A fraction a hair below the next midnight is the last second of the day, not the next day.
    if (seconds >= kSecondsPerDay)
        seconds = kSecondsPerDay - 1;
    return DayAndSeconds{static_cast<qint64>(whole), static_cast<int>(seconds)};
}

} // namespace

std::optional<QByteArray> isoDateFromDays(double days)
{
    const auto parts = split(days);
    if (!parts)
        return std::nullopt;
    const QDate date = QDate(1899, 12, 30).addDays(parts->day);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year(), date.month(), date.day());
    return QByteArray(text);
}

std::optional<QByteArray> isoTimeFromDays(double days)
{
    const auto parts = split(days);
    if (!parts)
        return std::nullopt;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", parts->seconds / 3600,
                  parts->seconds / 60 % 60, parts->seconds % 60);
    return QByteArray(text);
}

JetText varnelFromJetText(QByteArrayView utf8, JetTextForm form)
{
    JetText result;
    result.bytes.reserve(utf8.size());
    qsizetype at = 0;
    while (at < utf8.size()) {
        const auto cp = nextCodePoint(utf8, at);
        if (!cp) {
            result.invalidUtf8 = true;
            return result;
        }
        const auto byte = byteFor(*cp, form);
        if (!byte) {
            result.unmapped = *cp;
            return result;
        }
        result.bytes.append(static_cast<char>(*byte));
    }
    return result;
}

} // namespace legacy
