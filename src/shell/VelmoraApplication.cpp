#include "shell/VelmoraApplication.h"

#include "shell/FailureReport.h"
#include "shell/Pictures.h"

VelmoraApplication::VelmoraApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Velmora"));
    setQuitOnLastWindowClosed(false);
    setWindowIcon(Pictures::programIcon());
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
