#include "shell/ShellTexts.h"

#include "data/Version.h"
#include "platform/varnel/KannadaDigits.h"

namespace shell {

QString productName()
{
    return QStringLiteral(u"ವೆಲ್ಮೊರಾ");
}

QString versionText()
{
    return QStringLiteral(u"ಆವೃತ್ತಿ ") + varnel::kannadaDigits(QString::fromLatin1(VELMORA_VERSION));
}

QString teamName()
{
    return QStringLiteral(u"ವೆಲ್ಮೊರಾ ತಂಡ");
}

QString licenceText()
{
    return QStringLiteral(u"MIT ಪರವಾನಗಿ: ಯಾರು ಬೇಕಾದರೂ ಬಳಸಬಹುದು, ಬದಲಿಸಬಹುದು, ಹಂಚಬಹುದು.");
}

QByteArray backCaption()
{
    return QByteArray("\xBB\x41\x7A\xC0\x50\xC9\xCC");
}

QByteArray reportCaption()
{
    return QByteArray("\xAA\xC0\x67\xC0\xA2");
}

QByteArray findCaption()
{
    return QByteArray("\xA5\xC0\x6E\xD6\x20\xAA\xC0\x69\xC1\x71\xC0\xC4");
}

QByteArray newCaption()
{
    return QByteArray("\xBA\xC9\xC6\xB8\xC0\x7A\xC0\xC4");
}

QByteArray cancelCaption()
{
    return QByteArray("\x67\xC0\x7A\xC0\xC4\xDD");
}

QByteArray saveCaption()
{
    return QByteArray("\x47\xBD\xB8\xC0\xC4");
}

QByteArray deleteCaption()
{
    return QByteArray("\x43\xBD\xB8\xC0\xC4");
}

} // namespace shell
