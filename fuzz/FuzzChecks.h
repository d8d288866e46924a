#pragma once

#include <QByteArrayView>
#include <QString>

// Properties every input must keep; a broken one aborts, which libFuzzer reports with the input.
namespace fuzzchecks {

// Decoded text: bounded, NFC, and writable again except for the few characters without a form.
void checkDecoded(QByteArrayView bytes, const QString& text);

// Encoded text: refusals point at the refused characters of the NFC input, and the bytes hold
// only glyphs the encoder may write.
void checkEncoded(const QString& input);

} // namespace fuzzchecks
