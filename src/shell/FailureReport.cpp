#include "shell/FailureReport.h"

#include <QtGlobal>

#include "shell/frmmsg.h"

#if __has_include("platform/jet/JetError.h")
#include "platform/jet/JetError.h"
#define VELMORA_HAS_JET_ERROR 1
#endif

namespace {

// A second failure while the first is on screen (a failing repaint, say) is only logged, so
// one fault cannot stack up dialogs without end.
bool reporting = false;

void show(const QString& text, QWidget* parent)
{
    if (reporting) {
        qWarning("Velmora: %s", qPrintable(text));
        return;
    }
    reporting = true;
    try {
        frmmsg::showText(text, parent);
    } catch (...) {
        reporting = false;
        throw;
    }
    reporting = false;
}

} // namespace

#ifdef VELMORA_HAS_JET_ERROR
// What the user should know first, in Kannada; the engine's own text follows for whoever
// has to look into it.
QString engineFailureLead(int number)
{
    switch (number) {
    case jet::errors::kUnrecognizedFormat:
    case jet::errors::kFileNotFound:
        return QStringLiteral(u"ದಿನಚರಿಯ ಕಡತವನ್ನು ತೆರೆಯಲಾಗಲಿಲ್ಲ. ಕಡತವನ್ನು ಬದಲಿಸಿಲ್ಲ.");
    case jet::errors::kFileLocked:
        return QStringLiteral(u"ದಿನಚರಿಯ ಕಡತವನ್ನು ಈಗ ಇನ್ನೊಂದು ಕಿಟಕಿ ಅಥವಾ ಕಾರ್ಯಕ್ರಮ ಬಳಸುತ್ತಿದೆ. "
                              u"ಸ್ವಲ್ಪ ಸಮಯದ ನಂತರ ಮತ್ತೆ ಪ್ರಯತ್ನಿಸಿ.");
    case jet::errors::kDiskIo:
    case jet::errors::kReadOnly:
        return QStringLiteral(u"ದಿನಚರಿಯ ಕಡತಕ್ಕೆ ಬರೆಯಲಾಗಲಿಲ್ಲ (ಡಿಸ್ಕ್ ತುಂಬಿದೆ ಅಥವಾ ಬರೆಯಲು ಅನುಮತಿ ಇಲ್ಲ). "
                              u"ಏನನ್ನೂ ಅರ್ಧ ಬರೆದಿಲ್ಲ.");
    case jet::errors::kDuplicateValue:
        return QStringLiteral(u"ಇದೇ ಕ್ರಮ ಸಂಖ್ಯೆಯ ದಾಖಲೆಯನ್ನು ಇನ್ನೊಂದು ಕಿಟಕಿ ಈಗಾಗಲೇ ಉಳಿಸಿದೆ. "
                              u"ಈ ಕಿಟಕಿಯನ್ನು ಮುಚ್ಚಿ ಮತ್ತೆ ತೆರೆಯಿರಿ.");
    default:
        return QStringLiteral(u"ದಿನಚರಿಯ ಕೆಲಸ ನಿಂತಿತು. ಏನನ್ನೂ ಅರ್ಧ ಬರೆದಿಲ್ಲ.");
    }
}
#endif

QString failureText(const std::exception& error)
{
#ifdef VELMORA_HAS_JET_ERROR
    if (const auto* jet = dynamic_cast<const jet::JetError*>(&error))
        return QStringLiteral(u"%1\n\nದೋಷ %2: %3")
            .arg(engineFailureLead(jet->number()))
            .arg(jet->number())
            .arg(jet->text());
#endif
    return QStringLiteral(u"ದೋಷ: %1").arg(QString::fromUtf8(error.what()));
}

void reportFailure(const std::exception& error, QWidget* parent)
{
    const QString text = failureText(error);
    qWarning("Velmora: %s", qPrintable(text));
    show(text, parent);
}

void reportUnknownFailure(QWidget* parent)
{
    show(QStringLiteral(u"ಅನಿರೀಕ್ಷಿತ ದೋಷ. ಕೆಲಸ ಅಲ್ಲಿಗೇ ನಿಂತಿತು."), parent);
}
