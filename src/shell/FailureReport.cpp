#include "shell/FailureReport.h"

#include <QRegularExpression>
#include <QtGlobal>

#include "platform/varnel/KannadaDigits.h"
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
namespace {

// What the user should know first, in Kannada.
QString engineFailureLead(int number)
{
    using namespace jet::errors;
    switch (number) {
    case kUnrecognizedFormat:
    case kFileNotFound: return QStringLiteral(u"ದಿನಚರಿಯ ಕಡತವನ್ನು ತೆರೆಯಲಾಗಲಿಲ್ಲ. ಕಡತವನ್ನು ಬದಲಿಸಿಲ್ಲ.");
    case kDamaged: return QStringLiteral(u"ದಿನಚರಿಯ ಕಡತವನ್ನು ಓದಲಾಗಲಿಲ್ಲ. ಕಡತವನ್ನು ಬದಲಿಸಿಲ್ಲ.");
    case kFileLocked:
        return QStringLiteral(u"ದಿನಚರಿಯ ಕಡತವನ್ನು ಈಗ ಇನ್ನೊಂದು ಕಿಟಕಿ ಅಥವಾ ಕಾರ್ಯಕ್ರಮ ಬಳಸುತ್ತಿದೆ. "
                              u"ಸ್ವಲ್ಪ ಸಮಯದ ನಂತರ ಮತ್ತೆ ಪ್ರಯತ್ನಿಸಿ.");
    case kDiskIo:
    case kDiskFull:
    case kReadOnly: return QStringLiteral(u"ದಿನಚರಿಯ ಕಡತಕ್ಕೆ ಬರೆಯಲಾಗಲಿಲ್ಲ. ಏನನ್ನೂ ಅರ್ಧ ಬರೆದಿಲ್ಲ.");
    case kRecordDeleted:
    case kChangedMeanwhile:
        return QStringLiteral(u"ಇನ್ನೊಂದು ಕಿಟಕಿ ಅಥವಾ ಕಾರ್ಯಕ್ರಮ ಈ ನಡುವೆ ದಿನಚರಿಯನ್ನು ಬದಲಿಸಿದೆ. "
                              u"ಏನನ್ನೂ ಅರ್ಧ ಬರೆದಿಲ್ಲ.");
    case kDuplicateValue:
        return QStringLiteral(u"ಇದೇ ಕ್ರಮ ಸಂಖ್ಯೆಯ ದಾಖಲೆಯನ್ನು ಇನ್ನೊಂದು ಕಿಟಕಿ ಈಗಾಗಲೇ ಉಳಿಸಿದೆ. "
                              u"ಈ ಕಿಟಕಿಯನ್ನು ಮುಚ್ಚಿ ಮತ್ತೆ ತೆರೆಯಿರಿ.");
    // clang-format off
    case kCommitOutcomeUnknown:
        return QStringLiteral(u"ಬದಲಾವಣೆ ಸರ್ವರ್‌ನಲ್ಲಿ ಉಳಿಯಿತೋ ಇಲ್ಲವೋ ತಿಳಿಯದು. ಮತ್ತೆ ಪ್ರಯತ್ನಿಸುವ ಮೊದಲು "
                              u"ದಿನಚರಿಯಲ್ಲಿ ಈಗ ಇರುವುದನ್ನು ನೋಡಿ.");
    // clang-format on
    default: return QStringLiteral(u"ದಿನಚರಿಯ ಕೆಲಸ ನಿಂತಿತು. ಏನನ್ನೂ ಅರ್ಧ ಬರೆದಿಲ್ಲ.");
    }
}

// What happened, in Kannada, for the failures a user meets; empty for the rest, whose engine
// text is shown as it is.
QString engineFailureDetail(int number)
{
    using namespace jet::errors;
    switch (number) {
    case kFileLocked: return QStringLiteral(u"ದಿನಚರಿಯ ಕಡತ ಕಾರ್ಯನಿರತವಾಗಿದೆ: ಅದಕ್ಕೆ ಬೀಗ ಹಾಕಲಾಗಿದೆ.");
    case kReadOnly: return QStringLiteral(u"ಕಡತವನ್ನು ಓದಬಹುದು ಮಾತ್ರ: ಅದಕ್ಕೆ ಬರೆಯಲು ಅನುಮತಿ ಇಲ್ಲ.");
    case kDiskFull: return QStringLiteral(u"ಡಿಸ್ಕ್ ತುಂಬಿದೆ.");
    case kDiskIo: return QStringLiteral(u"ಡಿಸ್ಕನ್ನು ಓದಲು ಅಥವಾ ಅದಕ್ಕೆ ಬರೆಯಲು ಆಗಲಿಲ್ಲ.");
    case kDamaged: return QStringLiteral(u"ದಿನಚರಿಯ ಕಡತ ಹಾಳಾಗಿದೆ.");
    case kUnrecognizedFormat: return QStringLiteral(u"ಇದು ದಿನಚರಿಯ ಕಡತವಲ್ಲ, ಅಥವಾ ಹಾಳಾಗಿದೆ.");
    case kFileNotFound: return QStringLiteral(u"ಕಡತ ಸಿಗಲಿಲ್ಲ.");
    case kRecordDeleted: return QStringLiteral(u"ಈ ದಾಖಲೆಯನ್ನು ಈ ನಡುವೆ ಅಳಿಸಲಾಗಿದೆ.");
    case kChangedMeanwhile: return QStringLiteral(u"ಈ ದಾಖಲೆಯನ್ನು ಈ ನಡುವೆ ಬದಲಿಸಲಾಗಿದೆ.");
    case kDuplicateValue: return QStringLiteral(u"ಇದೇ ಕ್ರಮ ಸಂಖ್ಯೆಯ ದಾಖಲೆ ಈಗಾಗಲೇ ಇದೆ.");
    case kServerUnreachable:
        return QStringLiteral(u"ದಿನಚರಿಯ ಸರ್ವರ್ ಸಿಗಲಿಲ್ಲ, ಅಥವಾ ಅದರೊಂದಿಗಿನ ಸಂಪರ್ಕ ಕಡಿದುಹೋಯಿತು. "
                              u"ಏನನ್ನೂ ಅರ್ಧ ಬರೆದಿಲ್ಲ; ಸರ್ವರ್ ಮರಳಿ ಸಿಕ್ಕಿದಾಗ ಮತ್ತೆ ಪ್ರಯತ್ನಿಸಿ.");
    // clang-format off
    case kCommitOutcomeUnknown:
        return QStringLiteral(u"ಉಳಿಸುತ್ತಿರುವಾಗಲೇ ದಿನಚರಿಯ ಸರ್ವರ್‌ನೊಂದಿಗಿನ ಸಂಪರ್ಕ ಕಡಿದುಹೋಯಿತು, "
                              u"ಮತ್ತು ಸರ್ವರ್ ಮತ್ತೆ ಸಿಗಲಿಲ್ಲ. ಕಿಟಕಿ ಮುಂದಿನ ಹೆಜ್ಜೆಗೆ ಮೊದಲು ದಿನಚರಿಯನ್ನು "
                              u"ಮತ್ತೆ ಓದುತ್ತದೆ.");
    // clang-format on
    default: return {};
    }
}

// The file an engine text names in quotes, so that a Kannada detail still says which file.
QString namedFile(const QString& engineText)
{
    static const QRegularExpression quoted(QStringLiteral("'([^']*[/\\\\][^']*)'"));
    return quoted.match(engineText).captured(1);
}

QString engineFailureText(const jet::JetError& error)
{
    QString detail = engineFailureDetail(error.number());
    if (detail.isEmpty()) {
        detail = error.text();
    } else if (const QString file = namedFile(error.text()); !file.isEmpty()) {
        detail += QStringLiteral(u"\nಕಡತ: ") + file;
    }
    return QStringLiteral(u"%1\n\nದೋಷ %2: %3")
        .arg(engineFailureLead(error.number()),
             varnel::kannadaDigits(QString::number(error.number())), detail);
}

} // namespace
#endif

QString failureText(const std::exception& error)
{
#ifdef VELMORA_HAS_JET_ERROR
    if (const auto* jet = dynamic_cast<const jet::JetError*>(&error))
        return engineFailureText(*jet);
#endif
    return QStringLiteral(u"ದೋಷ: %1").arg(QString::fromUtf8(error.what()));
}

void reportFailure(const std::exception& error, QWidget* parent)
{
    // The log keeps the engine's own words beside what the user is shown.
    qWarning("Velmora: %s", error.what());
    show(failureText(error), parent);
}

void reportUnknownFailure(QWidget* parent)
{
    show(QStringLiteral(u"ಅನಿರೀಕ್ಷಿತ ದೋಷ. ಕೆಲಸ ಅಲ್ಲಿಗೇ ನಿಂತಿತು."), parent);
}

void runReported(QWidget* window, const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& e) {
        reportFailure(e, window);
    } catch (...) {
        reportUnknownFailure(window);
    }
}

void runReported(QWidget* window, const std::function<void()>& handler,
                 const std::function<void()>& then)
{
    std::exception_ptr failure;
    try {
        handler();
    } catch (...) {
        failure = std::current_exception();
    }
    then();
    if (failure)
        runReported(window, [&failure] { std::rethrow_exception(failure); });
}
