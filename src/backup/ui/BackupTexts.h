#pragma once

#include <QString>

// The backup windows' own texts, in Unicode Kannada (they have no documented Varnel form).
namespace backup::texts {

// copies of the diary
inline const QString title = QStringLiteral(u"ದಿನಚರಿಯ ಪ್ರತಿಗಳು");
// a copy of the diary is kept each day the program starts; the newest 30 stay
inline const QString explanation =
    QStringLiteral(u"ಕಾರ್ಯಕ್ರಮ ಆರಂಭವಾದ ಪ್ರತಿ ದಿನ ದಿನಚರಿಯ ಒಂದು ಪ್ರತಿ ಉಳಿಯುತ್ತದೆ; ಹೊಸ ೩೦ "
                   u"ಪ್ರತಿಗಳನ್ನು ಇಡಲಾಗುತ್ತದೆ. ಒಂದು ಪ್ರತಿಯನ್ನು ಆರಿಸಿ ಮರುಸ್ಥಾಪಿಸಿ.");
inline const QString date = QStringLiteral(u"ದಿನಾಂಕ");
inline const QString time = QStringLiteral(u"ಸಮಯ");
// restore / close
inline const QString restore = QStringLiteral(u"ಮರುಸ್ಥಾಪಿಸಿ");
inline const QString close = QStringLiteral(u"ಮುಚ್ಚಿ");
// unreadable
inline const QString unreadable = QStringLiteral(u"ಓದಲಾಗದು");
// restore the diary from the copy of %1? the diary as it is now is kept as a copy first
inline const QString restoreQuestion =
    QStringLiteral(u"%1 ರ ಪ್ರತಿಯಿಂದ ದಿನಚರಿಯನ್ನು ಮರುಸ್ಥಾಪಿಸಬೇಕೆ? ಈಗಿನ ದಿನಚರಿಯನ್ನು ಮೊದಲು ಒಂದು "
                   u"ಪ್ರತಿಯಾಗಿ ಉಳಿಸಲಾಗುತ್ತದೆ.");
// the diary was restored
inline const QString restored = QStringLiteral(u"ದಿನಚರಿಯನ್ನು ಮರುಸ್ಥಾಪಿಸಲಾಗಿದೆ.");
// could not restore; the diary is as it was
inline const QString restoreFailed = QStringLiteral(u"ಪ್ರತಿಯಿಂದ ಮರುಸ್ಥಾಪಿಸಲಾಗಲಿಲ್ಲ. ದಿನಚರಿ ಮೊದಲಿನಂತೆಯೇ ಇದೆ.");
// today's copy of the diary could not be kept; the diary is unharmed, work on as usual
inline const QString startBackupFailed =
    QStringLiteral(u"ದಿನಚರಿಯ ಇಂದಿನ ಪ್ರತಿಯನ್ನು ಉಳಿಸಲಾಗಲಿಲ್ಲ. ದಿನಚರಿಗೆ ಏನೂ ಆಗಿಲ್ಲ; "
                   u"ಕಾರ್ಯಕ್ರಮವನ್ನು ಎಂದಿನಂತೆ ಬಳಸಬಹುದು.");
inline const QString diskFull = QStringLiteral(u"ಡಿಸ್ಕ್ ತುಂಬಿದೆ.");
inline const QString folderReadOnly = QStringLiteral(
    u"ಈ ಫೋಲ್ಡರ್‌ಗೆ ಬರೆಯಲು ಅನುಮತಿ ಇಲ್ಲ.");
inline const QString folder = QStringLiteral(u"ಫೋಲ್ಡರ್: ");

} // namespace backup::texts
