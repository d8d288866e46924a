#pragma once

#include <QString>

namespace varnel {

// ASCII digits to Kannada digits (U+0CE6..U+0CEF), as the Varnel fonts drew digit bytes; other
// characters are kept.
QString kannadaDigits(QString text);

// Kannada digits back to ASCII digits.
QString asciiDigits(QString text);

} // namespace varnel
