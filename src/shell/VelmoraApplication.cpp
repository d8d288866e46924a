#include "shell/VelmoraApplication.h"

#include <QTranslator>

#include "shell/FailureReport.h"
#include "shell/Pictures.h"

VelmoraApplication::VelmoraApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Velmora"));
    setQuitOnLastWindowClosed(false);
    setWindowIcon(Pictures::programIcon());
    // Qt's own dialogs (saving a file, printing) speak Kannada as the program's windows do.
    auto* qtTexts = new QTranslator(this);
    if (qtTexts->load(QStringLiteral(":/translations/velmora_qt_kn.qm")))
        installTranslator(qtTexts);
}

bool VelmoraApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        reportFailure(error);
    } catch (...) {
        reportUnknownFailure();
    }
    return false;
}
