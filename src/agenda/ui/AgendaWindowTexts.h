#pragma once

#include <QString>

// The agenda window's own texts, in Unicode Kannada.
namespace agenda::texts {

// the window's title: "the week's engagements"
inline const QString windowTitle = QStringLiteral(u"ಈ ವಾರದ ಕಾರ್ಯಕ್ರಮಗಳು");
// "from" before the first day's picker; the range: one day, a week
inline const QString fromCaption = QStringLiteral(u"ಇಂದಿನಿಂದ");
inline const QString oneDay = QStringLiteral(u"ಒಂದು ದಿನ");
inline const QString oneWeek = QStringLiteral(u"ಒಂದು ವಾರ");
// the button that prints the days shown
inline const QString printCaption = QStringLiteral(u"ಮುದ್ರಿಸು");
// the column heads: time, register, serial number, what it is, the clash mark
inline const QString timeHead = QStringLiteral(u"ಸಮಯ");
inline const QString registerHead = QStringLiteral(u"ದಾಖಲಾತಿ");
inline const QString serialHead = QStringLiteral(u"ಕ್ರ.ಸಂ.");
inline const QString textHead = QStringLiteral(u"ವಿವರ");
inline const QString markHead = QStringLiteral(u"ಗಮನಿಸಿ");
// a day without engagements
inline const QString nothingOnTheDay = QStringLiteral(u"ಕಾರ್ಯಕ್ರಮಗಳಿಲ್ಲ");
// how to open a record
inline const QString hint = QStringLiteral(u"Enter ಅಥವಾ ಎರಡು ಕ್ಲಿಕ್: ದಾಖಲೆಯನ್ನು ಅದರ ದಾಖಲಾತಿಯಲ್ಲಿ "
                                           u"ತೆರೆಯುತ್ತದೆ. ಕೆಂಪು ಸಾಲುಗಳು ಘರ್ಷಿಸುತ್ತವೆ.");
// the record was deleted since the agenda was read
inline const QString vanished =
    QStringLiteral(u"ಈ ದಾಖಲೆ ಈಗ ದಿನಚರಿಯಲ್ಲಿ ಇಲ್ಲ: ಬೇರೊಂದು ಕಿಟಕಿ ಅಥವಾ ಪ್ರೋಗ್ರಾಂ ಅದನ್ನು ಅಳಿಸಿದೆ.");

} // namespace agenda::texts
