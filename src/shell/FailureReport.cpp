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

QString failureText(const std::exception& error)
{
#ifdef VELMORA_HAS_JET_ERROR
    if (const auto* jet = dynamic_cast<const jet::JetError*>(&error))
        return QStringLiteral(u"ದೋಷ %1: %2").arg(jet->number()).arg(jet->text());
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
