#pragma once

#include <QString>

// The search windows' own texts, in Unicode Kannada (they have no documented Varnel form).
namespace search::texts {

// the list holds %1 records / 1 record (%1 in Kannada digits)
inline const QString recordsListed = QStringLiteral(u"ಪಟ್ಟಿಯಲ್ಲಿ %1 ದಾಖಲೆಗಳಿವೆ");
inline const QString oneRecordListed = QStringLiteral(u"ಪಟ್ಟಿಯಲ್ಲಿ ೧ ದಾಖಲೆ ಇದೆ");
// no record matches the search
inline const QString nothingMatched = QStringLiteral(u"ಹುಡುಕಿದುದಕ್ಕೆ ಹೊಂದುವ ದಾಖಲೆ ಯಾವುದೂ ಇಲ್ಲ");
// the register holds no record yet
inline const QString registerEmpty = QStringLiteral(u"ಈ ದಾಖಲಾತಿಯಲ್ಲಿ ಇನ್ನೂ ಯಾವ ದಾಖಲೆಯೂ ಇಲ್ಲ");

} // namespace search::texts
