#pragma once

#include <QString>

// What a register window says when another window or another copy of the program changed the
// diary under it, or when the diary can only be read.
namespace registers::texts {

// "This record was changed in another window or copy after you opened it. Save what you wrote
// over it?? (No shows the record as it is stored now.)"
inline QString changedMeanwhileQuestion()
{
    return QStringLiteral("ಈ ದಾಖಲೆಯನ್ನು ನೀವು ತೆರೆದ ನಂತರ ಇನ್ನೊಂದು ಕಿಟಕಿ ಅಥವಾ ಪ್ರತಿಯಲ್ಲಿ "
                          "ಬದಲಾಯಿಸಲಾಗಿದೆ. ನೀವು ಬರೆದದ್ದನ್ನು ಅದರ ಮೇಲೆ ಉಳಿಸಬೇಕೇ?? (ಇಲ್ಲ ಎಂದರೆ "
                          "ಈಗ ಉಳಿದಿರುವ ದಾಖಲೆಯನ್ನು ತೋರಿಸಲಾಗುತ್ತದೆ.)");
}

// "This record was deleted in another window or copy. Save what you wrote as a new record??"
inline QString deletedMeanwhileQuestion()
{
    return QStringLiteral("ಈ ದಾಖಲೆಯನ್ನು ಇನ್ನೊಂದು ಕಿಟಕಿ ಅಥವಾ ಪ್ರತಿಯಲ್ಲಿ ಅಳಿಸಲಾಗಿದೆ. ನೀವು "
                          "ಬರೆದದ್ದನ್ನು ಹೊಸ ದಾಖಲೆಯಾಗಿ ಉಳಿಸಬೇಕೇ??");
}

// "This record was changed in another window or copy, so it was not deleted. It is shown as
// stored now: delete it again if you still want to."
inline QString changedMeanwhileNotice()
{
    return QStringLiteral("ಈ ದಾಖಲೆಯನ್ನು ಇನ್ನೊಂದು ಕಿಟಕಿ ಅಥವಾ ಪ್ರತಿಯಲ್ಲಿ ಬದಲಾಯಿಸಲಾಗಿದೆ; ಅದನ್ನು "
                          "ಅಳಿಸಲಿಲ್ಲ. ಈಗ ಉಳಿದಿರುವಂತೆ ತೋರಿಸಲಾಗಿದೆ: ಇನ್ನೂ ಅಳಿಸಬೇಕಿದ್ದರೆ ಮತ್ತೆ "
                          "ಅಳಿಸಿ.");
}

// "This record was already deleted in another window or copy. The records stored now are
// shown."
inline QString deletedMeanwhileNotice()
{
    return QStringLiteral("ಈ ದಾಖಲೆಯನ್ನು ಇನ್ನೊಂದು ಕಿಟಕಿ ಅಥವಾ ಪ್ರತಿಯಲ್ಲಿ ಈಗಾಗಲೇ ಅಳಿಸಲಾಗಿದೆ. ಈಗ "
                          "ಉಳಿದಿರುವ ದಾಖಲೆಗಳನ್ನು ತೋರಿಸಲಾಗಿದೆ.");
}

// "The diary file can only be read in this folder: the records can be seen, but changes
// cannot be saved."
inline QString readOnlyDiaryNotice()
{
    return QStringLiteral("ಈ ಕಡತಕೋಶದಲ್ಲಿ ದಿನಚರಿ ಕಡತವನ್ನು ಓದಲು ಮಾತ್ರ ಸಾಧ್ಯ: ದಾಖಲೆಗಳನ್ನು "
                          "ನೋಡಬಹುದು, ಆದರೆ ಬದಲಾವಣೆಗಳನ್ನು ಉಳಿಸಲಾಗುವುದಿಲ್ಲ.");
}

} // namespace registers::texts
