#pragma once

#include <QString>

// What a register window says when it takes back a deletion or a save, in Unicode Kannada.
// %1 is a serial number, the record is named by what it is about and its date.
namespace registers::texts {

// "This register already holds %1 records; no new record can be added. Try again after
// deleting old records."
inline QString registerFullNotice(int records)
{
    return QStringLiteral("ಈ ದಾಖಲಾತಿಯಲ್ಲಿ ಈಗಾಗಲೇ %1 ದಾಖಲೆಗಳಿವೆ; ಇನ್ನು ಹೊಸ ದಾಖಲೆ ಸೇರಿಸಲು ಸಾಧ್ಯವಿಲ್ಲ. "
                          "ಹಳೆಯ ದಾಖಲೆಗಳನ್ನು ಅಳಿಸಿದ ನಂತರ ಮತ್ತೆ ಪ್ರಯತ್ನಿಸಿ.")
        .arg(records);
}

// The register window's undo entry: "take back (Ctrl+Z)".
inline QString undoCaption()
{
    return QStringLiteral("ಹಿಂದಕ್ಕೆ ಪಡೆ (Ctrl+Z)");
}

// "Take back what was typed into the new record? It is not saved, and no stored record
// changes."
inline QString undoTypingQuestion()
{
    return QStringLiteral("ಹೊಸ ದಾಖಲೆಗೆ ಬರೆದುದನ್ನು ಹಿಂದಕ್ಕೆ ಪಡೆಯಬೇಕೇ? ಅದನ್ನು ಉಳಿಸುವುದಿಲ್ಲ; ಉಳಿಸಿದ "
                          "ಯಾವ ದಾಖಲೆಯೂ ಬದಲಾಗುವುದಿಲ್ಲ.");
}

// "Bring the deleted record %2 back as number %1? The records from that number on move up by
// one."
inline QString undoDeletionQuestion()
{
    return QStringLiteral("ಅಳಿಸಿದ ದಾಖಲೆ %2 ಅನ್ನು ಕ್ರಮ ಸಂಖ್ಯೆ %1 ಆಗಿ ಮರಳಿ ತರಬೇಕೇ? ಆ ಸಂಖ್ಯೆಯಿಂದ "
                          "ಮುಂದಿನ ದಾಖಲೆಗಳ ಸಂಖ್ಯೆ ಒಂದು ಹೆಚ್ಚುತ್ತದೆ.");
}

// "Take back the change saved to record number %1, %2, and make it as it was before: %3?"
inline QString undoChangeQuestion()
{
    return QStringLiteral("ಕ್ರಮ ಸಂಖ್ಯೆ %1 ರ ದಾಖಲೆ %2 ಗೆ ಉಳಿಸಿದ ಬದಲಾವಣೆಯನ್ನು ಹಿಂದಕ್ಕೆ ಪಡೆದು, ಅದನ್ನು "
                          "ಮೊದಲಿನಂತೆ %3 ಮಾಡಬೇಕೇ?");
}

// "Take away record number %1, %2, which was saved as a new record? It stays among the recently
// deleted records."
inline QString undoAdditionQuestion()
{
    return QStringLiteral("ಹೊಸದಾಗಿ ಉಳಿಸಿದ ಕ್ರಮ ಸಂಖ್ಯೆ %1 ರ ದಾಖಲೆ %2 ಅನ್ನು ತೆಗೆದುಹಾಕಬೇಕೇ? ಅದು "
                          "ಇತ್ತೀಚೆಗೆ ಅಳಿಸಿದ ದಾಖಲೆಗಳಲ್ಲಿ ಉಳಿಯುತ್ತದೆ.");
}

// "This record was changed in another window or copy meanwhile, so nothing was taken back.
// It is shown as stored now."
inline QString undoChangedMeanwhileNotice()
{
    return QStringLiteral("ಈ ದಾಖಲೆಯನ್ನು ಈ ಮಧ್ಯೆ ಇನ್ನೊಂದು ಕಿಟಕಿ ಅಥವಾ ಪ್ರತಿಯಲ್ಲಿ ಬದಲಾಯಿಸಲಾಗಿದೆ; "
                          "ಆದ್ದರಿಂದ ಏನನ್ನೂ ಹಿಂದಕ್ಕೆ ಪಡೆಯಲಿಲ್ಲ. ಈಗ ಉಳಿದಿರುವಂತೆ ತೋರಿಸಲಾಗಿದೆ.");
}

// "This record was deleted in another window or copy meanwhile, so nothing was taken back."
inline QString undoDeletedMeanwhileNotice()
{
    return QStringLiteral("ಈ ದಾಖಲೆಯನ್ನು ಈ ಮಧ್ಯೆ ಇನ್ನೊಂದು ಕಿಟಕಿ ಅಥವಾ ಪ್ರತಿಯಲ್ಲಿ ಅಳಿಸಲಾಗಿದೆ; "
                          "ಆದ್ದರಿಂದ ಏನನ್ನೂ ಹಿಂದಕ್ಕೆ ಪಡೆಯಲಿಲ್ಲ.");
}

// "This deleted record was already brought back in another window or copy (or is no longer
// kept), so nothing was changed."
inline QString undoAlreadyRestoredNotice()
{
    return QStringLiteral("ಅಳಿಸಿದ ಈ ದಾಖಲೆಯನ್ನು ಇನ್ನೊಂದು ಕಿಟಕಿ ಅಥವಾ ಪ್ರತಿಯಲ್ಲಿ ಈಗಾಗಲೇ ಮರಳಿ "
                          "ತರಲಾಗಿದೆ (ಅಥವಾ ಅದು ಇನ್ನು ಉಳಿದಿಲ್ಲ); ಏನನ್ನೂ ಬದಲಾಯಿಸಲಿಲ್ಲ.");
}

} // namespace registers::texts
