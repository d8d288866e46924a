#pragma once

#include <optional>

#include <QByteArray>
#include <QByteArrayView>

namespace legacy {

// Jet keeps a date and time as a double: days since 1899-12-30, the fraction the time of day.
// Before that day the whole part counts back and the fraction still counts forward
// (-1.25 is 1899-12-29 06:00). These read the raw number, so every year Jet can hold
// (100 to 9999) comes back whole; nullopt for anything else (a damaged value).

// The day as the diary stores it, "YYYY-MM-DD"; any time of day is dropped.
std::optional<QByteArray> isoDateFromDays(double days);
// The time of day as the diary stores it, "HH:MM:SS", rounded to the second; any day is dropped.
std::optional<QByteArray> isoTimeFromDays(double days);

// How libmdb's UTF-8 text maps back to the stored Varnel bytes.
enum class JetTextForm {
    Latin1,      // Jet 3 read with a Latin-1 conversion: each code point is the byte
    Windows1252, // Jet 4: the bytes were decoded as Windows-1252 when the file was upgraded
};

struct JetText {
    QByteArray bytes;
    // The first character with no byte in that form (0 when the text converted).
    char32_t unmapped = 0;
    bool invalidUtf8 = false;
    bool ok() const { return unmapped == 0 && !invalidUtf8; }
};

JetText varnelFromJetText(QByteArrayView utf8, JetTextForm form);

} // namespace legacy
