#pragma once

#include <QString>

// The recently-deleted window's own texts, in Unicode Kannada.
namespace registers::texts {

// recently deleted records
inline const QString deletedTitle = QStringLiteral(u"ಇತ್ತೀಚೆಗೆ ಅಳಿಸಿದ ದಾಖಲೆಗಳು");
// the newest 1,000 deleted records of each register are kept; choose one and bring it back: it
// returns at the number it had
inline const QString deletedExplanation =
    QStringLiteral(u"ಪ್ರತಿ ದಾಖಲಾತಿಯಿಂದ ಅಳಿಸಿದ ಹೊಸ ೧೦೦೦ ದಾಖಲೆಗಳನ್ನು ಇಡಲಾಗುತ್ತದೆ. ಒಂದನ್ನು ಆರಿಸಿ ಮರಳಿ "
                   u"ತನ್ನಿ: ಅದು ಅಳಿಸಿದಾಗ ಇದ್ದ ಕ್ರಮ ಸಂಖ್ಯೆಗೆ ಮರಳುತ್ತದೆ.");
// when deleted / number then
inline const QString deletedAt = QStringLiteral(u"ಅಳಿಸಿದ್ದು");
inline const QString numberThen = QStringLiteral(u"ಆಗಿನ ಕ್ರಮ ಸಂಖ್ಯೆ");
// bring back / close
inline const QString bringBack = QStringLiteral(u"ಮರಳಿ ತನ್ನಿ");
inline const QString closeWindow = QStringLiteral(u"ಮುಚ್ಚಿ");
// none kept
inline const QString noneDeleted = QStringLiteral(u"ಈ ದಾಖಲಾತಿಯಿಂದ ಅಳಿಸಿದ ದಾಖಲೆಗಳು ಇಲ್ಲ.");
// the record is back as number %1
inline const QString broughtBack = QStringLiteral(u"ದಾಖಲೆಯನ್ನು ಕ್ರಮ ಸಂಖ್ಯೆ %1 ಆಗಿ ಮರಳಿ ತರಲಾಗಿದೆ.");

} // namespace registers::texts
