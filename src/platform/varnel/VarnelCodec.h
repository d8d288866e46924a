#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

// Varnel text: legacy Kannada glyph bytes (one byte per glyph, in visual order) and their
// Unicode Kannada (logical order, NFC).
namespace varnel {

// Varnel bytes to Unicode Kannada, NFC. Total: every byte sequence decodes; unknown bytes become
// U+FFFD. Digit bytes 30-39 become Kannada digits, as the fonts drew them.
QString decode(QByteArrayView bytes);

// A character that has no Varnel form. position indexes the NFC form of the encoder's input.
struct Refusal {
    qsizetype position = 0;
    char32_t character = 0;
    friend bool operator==(const Refusal&, const Refusal&) = default;
};

struct Encoded {
    QByteArray bytes;
    QList<Refusal> refusals;
    bool ok() const { return refusals.isEmpty(); }
};

// Unicode to Varnel bytes (normalised to NFC first). Characters without a Varnel form are listed
// in refusals and written nowhere; callers must not store bytes of a result that is not ok().
Encoded encode(QStringView unicode);

// Two Varnel texts are the same when they read the same: one word has several byte spellings.
// Joiners (ZWJ, ZWNJ) only steer the picture and are ignored.
bool sameText(QByteArrayView a, QByteArrayView b);

// The decoded text without joiners: the form in which Varnel texts are compared and searched.
QString comparableText(QByteArrayView bytes);

// A Kannada message for the user that names each refused character and its position, and
// closes with what to do: for a save, that nothing was saved; for a search, to search again.
enum class RefusedIn { Saving, Searching };
QString refusalMessage(const QList<Refusal>& refusals, RefusedIn in = RefusedIn::Saving);

// The database keeps Varnel text as TEXT whose characters are the Latin-1 characters of the bytes.
QByteArray fromStoredText(QStringView latin1);
QString toStoredText(QByteArrayView bytes);

} // namespace varnel
