#pragma once

#include <QString>

// The find window's own texts, in Unicode Kannada (they have no documented Varnel form).
namespace find::texts {

// the window's title: "find"
inline const QString title = QStringLiteral(u"ಹುಡುಕು");
// what the box is for
inline const QString prompt = QStringLiteral(u"ಹುಡುಕಬೇಕಾದ ಪದ");
// how to type Latin letters: Scroll Lock or the switch beside the box
inline const QString hint =
    QStringLiteral(u"ಕನ್ನಡದಲ್ಲಿ ಅಥವಾ ಇಂಗ್ಲಿಷ್ ಅಕ್ಷರಗಳಲ್ಲಿ ಬರೆಯಿರಿ (bengaluru, beMgaLUru). "
                   u"ಇಂಗ್ಲಿಷ್ ಅಕ್ಷರಗಳಿಗೆ Scroll Lock ಒತ್ತಿ ಅಥವಾ ಪಕ್ಕದ ಗುಂಡಿಯನ್ನು ಒತ್ತಿ. "
                   u"Enter ಅಥವಾ ಎರಡು ಕ್ಲಿಕ್: ದಾಖಲೆಯನ್ನು ತೆರೆಯುತ್ತದೆ.");
// the column heads: register, serial number, date, time, field, the text found
inline const QString registerHead = QStringLiteral(u"ದಾಖಲಾತಿ");
inline const QString serialHead = QStringLiteral(u"ಕ್ರ.ಸಂ.");
inline const QString dateHead = QStringLiteral(u"ದಿನಾಂಕ");
inline const QString timeHead = QStringLiteral(u"ಸಮಯ");
inline const QString fieldHead = QStringLiteral(u"ಎಲ್ಲಿ");
inline const QString textHead = QStringLiteral(u"ಸಿಕ್ಕಿದ ಪಠ್ಯ");
// %1 records found / one / none / still looking
inline const QString found = QStringLiteral(u"%1 ದಾಖಲೆಗಳು ಸಿಕ್ಕಿವೆ");
inline const QString foundOne = QStringLiteral(u"೧ ದಾಖಲೆ ಸಿಕ್ಕಿದೆ");
inline const QString foundNone = QStringLiteral(u"ಹುಡುಕಿದುದಕ್ಕೆ ಹೊಂದುವ ದಾಖಲೆ ಯಾವುದೂ ಇಲ್ಲ");
inline const QString searching = QStringLiteral(u"ಹುಡುಕುತ್ತಿದೆ…");
// the record was deleted since it was found
inline const QString vanished =
    QStringLiteral(u"ಈ ದಾಖಲೆ ಈಗ ದಿನಚರಿಯಲ್ಲಿ ಇಲ್ಲ: ಬೇರೊಂದು ಕಿಟಕಿ ಅಥವಾ ಪ್ರೋಗ್ರಾಂ ಅದನ್ನು ಅಳಿಸಿದೆ.");

} // namespace find::texts
