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

// Why a place box's text cannot be searched for. %1: the box's caption.
// in the box «%1»:
inline const QString inPlaceBox = QStringLiteral(u"«%1» ಪೆಟ್ಟಿಗೆಯಲ್ಲಿ: ");
// there is a [ but no ] closing it
inline const QString unclosedBracket = QStringLiteral(u"[ ಇದೆ, ಆದರೆ ಅದನ್ನು ಮುಚ್ಚುವ ] ಇಲ್ಲ.");
// a range between [ ] runs backwards: write the earlier letter first, as in [ಅ-ಕ]
inline const QString backwardRange =
    QStringLiteral(u"[\u00A0] ನಡುವಿನ ಶ್ರೇಣಿ ತಲೆಕೆಳಗಾಗಿದೆ: ಮೊದಲು ಬರುವ ಅಕ್ಷರವನ್ನು ಮೊದಲು ಬರೆಯಿರಿ, [ಅ-ಕ] ಎಂಬಂತೆ.");
// In a place text * ? # [ ] have a meaning of their own: * any run of letters, ? any one letter, #
// one digit, [ ] any one of the letters written between them. To search for one of them itself,
// write it between [ ]: [[] stands for [.
inline const QString patternCharacters =
    QStringLiteral(u"ಸ್ಥಳದ ಹೆಸರಿನಲ್ಲಿ * ? # [\u00A0] ವಿಶೇಷ ಅಕ್ಷರಗಳು: * ಎಷ್ಟೇ ಅಕ್ಷರಗಳು, ? ಯಾವುದೇ ಒಂದು ಅಕ್ಷರ, "
                   u"# ಒಂದು ಅಂಕಿ, [\u00A0] ನಡುವೆ ಬರೆದ ಅಕ್ಷರಗಳಲ್ಲಿ ಯಾವುದಾದರೂ ಒಂದು. ಇವುಗಳಲ್ಲಿ ಒಂದನ್ನೇ "
                   u"ಹುಡುಕಲು ಅದನ್ನು [\u00A0] ನಡುವೆ ಬರೆಯಿರಿ: [[] ಎಂದರೆ [.");

} // namespace search::texts
