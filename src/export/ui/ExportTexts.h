#pragma once

#include <QString>

// The export menu's own texts, in Unicode Kannada (they have no documented Varnel form).
namespace exports::texts {

// save the list as CSV (spreadsheet) / as iCalendar (calendar)
inline const QString saveCsv = QStringLiteral(
    u"ಪಟ್ಟಿಯನ್ನು CSV (ಸ್ಪ್ರೆಡ್‌ಶೀಟ್) ಆಗಿ "
    u"ಉಳಿಸಿ…");
inline const QString saveCalendar = QStringLiteral(u"ಪಟ್ಟಿಯನ್ನು iCalendar (ಕ್ಯಾಲೆಂಡರ್) ಆಗಿ ಉಳಿಸಿ…");
// the list could not be saved
inline const QString exportFailed = QStringLiteral(u"ಪಟ್ಟಿಯನ್ನು ಉಳಿಸಲಾಗಲಿಲ್ಲ.");

} // namespace exports::texts
