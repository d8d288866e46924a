#include "platform/files/FileTexts.h"

namespace files::texts {

// '%1' is the diary itself; nothing was written over it. Choose another file.
const QString isDiary = QStringLiteral(u"'%1' ದಿನಚರಿಯೇ ಆಗಿದೆ; ಅದರ ಮೇಲೆ ಏನನ್ನೂ ಬರೆಯಲಿಲ್ಲ. "
                                       u"ಬೇರೆ ಕಡತವನ್ನು ಆರಿಸಿ.");
// '%1' is a journal file of the diary; nothing was written over it.
const QString isJournal = QStringLiteral(u"'%1' ದಿನಚರಿಯ ಜರ್ನಲ್ ಕಡತ; ಅದರ ಮೇಲೆ ಏನನ್ನೂ "
                                         u"ಬರೆಯಲಿಲ್ಲ. ಬೇರೆ ಕಡತವನ್ನು ಆರಿಸಿ.");
// '%1' is a folder; give a file name.
const QString isFolder = QStringLiteral(u"'%1' ಒಂದು ಫೋಲ್ಡರ್; ಕಡತದ ಹೆಸರನ್ನು ಕೊಡಿ. ಏನನ್ನೂ ಬರೆಯಲಿಲ್ಲ.");
// '%1' is not an ordinary file (a device, a FIFO or a socket); nothing was written.
const QString notRegular = QStringLiteral(u"'%1' ಸಾಮಾನ್ಯ ಕಡತವಲ್ಲ (ಸಾಧನ, FIFO ಅಥವಾ ಸಾಕೆಟ್); "
                                          u"ಅದಕ್ಕೆ ಏನನ್ನೂ ಬರೆಯಲಿಲ್ಲ.");
// the folder of '%1' does not exist; nothing was written.
const QString noFolder = QStringLiteral(u"'%1' ಕಡತದ ಫೋಲ್ಡರ್ ಇಲ್ಲ; ಏನನ್ನೂ ಬರೆಯಲಿಲ್ಲ.");
// the folder of '%1' may not be written; nothing was written.
const QString folderReadOnly = QStringLiteral(
    u"'%1' ಕಡತದ ಫೋಲ್ಡರ್‌ಗೆ ಬರೆಯಲು ಅನುಮತಿ "
    u"ಇಲ್ಲ; "
    u"ಏನನ್ನೂ "
    u"ಬರೆಯಲಿಲ್ಲ.");
// could not write '%1' (%2); the file is as it was.
const QString writeFailed = QStringLiteral(u"'%1' ಕಡತಕ್ಕೆ ಬರೆಯಲಾಗಲಿಲ್ಲ (%2); ಕಡತ ಮೊದಲಿನಂತೆಯೇ ಇದೆ.");
// the disk is full: could not write '%1'; the file is as it was.
const QString diskFull = QStringLiteral(u"ಡಿಸ್ಕ್ ತುಂಬಿದೆ: '%1' ಕಡತಕ್ಕೆ ಬರೆಯಲಾಗಲಿಲ್ಲ; ಕಡತ ಮೊದಲಿನಂತೆಯೇ ಇದೆ.");
// not enough room in the folder of '%1' (%2 MB needed, %3 MB free); nothing was written.
// (Kept by hand: the formatter counts bytes and would break this text at every space.)
// clang-format off
const QString noRoom = QStringLiteral(u"'%1' ಕಡತದ ಫೋಲ್ಡರ್‌ನಲ್ಲಿ ಸ್ಥಳ ಸಾಲದು (%2 MB ಬೇಕು, %3 MB ಇದೆ); "
                                      u"ಏನನ್ನೂ ಬರೆಯಲಿಲ್ಲ.");
// clang-format on
// %2 '%1' is not an ordinary file (a folder, a device or a FIFO); it was not opened.
const QString inputNotRegular =
    QStringLiteral(u"%2 '%1' ಸಾಮಾನ್ಯ ಕಡತವಲ್ಲ (ಫೋಲ್ಡರ್, ಸಾಧನ ಅಥವಾ FIFO); ಅದನ್ನು ತೆರೆಯಲಿಲ್ಲ.");

const QString diary = QStringLiteral(u"ದಿನಚರಿ");
const QString legacyDiary = QStringLiteral(u"ಹಳೆಯ Jet ದಿನಚರಿ");
const QString reportTemplate = QStringLiteral(u"ವರದಿಯ ಮಾದರಿ");
const QString backupFile = QStringLiteral(u"ದಿನಚರಿಯ ಪ್ರತಿ");

} // namespace files::texts
