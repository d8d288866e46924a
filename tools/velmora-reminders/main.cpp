// velmora-reminders [--diary FILE | --server CONNECTION]: shows the diary's coming engagements as
// desktop notifications while the program's windows are closed. Started at login by its XDG
// autostart entry; does nothing when Velmora.ini's [reminders] enabled=false. It only reads the
// diary. SIGTERM, SIGINT or SIGHUP end it with status 0.

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSocketNotifier>
#include <QTimer>

#include "DesktopNotifier.h"
#include "data/DiaryDatabase.h"
#include "data/DiaryLocation.h"
#include "data/Version.h"
#include "platform/jet/JetError.h"
#include "publish/PublishSchedule.h"
#include "platform/paths/NativePath.h"
#include "reminders/ReminderService.h"
#include "reminders/ReminderSettings.h"
#include "reminders/ReminderTexts.h"

namespace {

constexpr int kCheckSeconds = 60;

// The signal handler only writes a byte; the event loop reads it and ends the program, so the
// state of what was shown is written whole.
int signalSocket[2] = {-1, -1};

void onTerminationSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalSocket[0], &byte, 1);
}

void endOnTerminationSignals(QCoreApplication& app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSocket) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalSocket[1], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app,
                     [] { QCoreApplication::exit(0); });
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGHUP, SIGINT})
        sigaction(signal, &action, nullptr);
}

int badInput(const QString& text)
{
    std::fprintf(stderr, "velmora-reminders: %s\n", files::shownPath(text).toUtf8().constData());
    return 2;
}

// "Open" starts the program beside this one (an own-folder install), else the one on the PATH.
void openVelmora()
{
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/velmora");
    const QString program = QFileInfo(beside).isExecutable() ? beside : QStringLiteral("velmora");
    if (!QProcess::startDetached(program, {}, QDir::homePath()))
        reminders::sayOnce(QStringLiteral(u"%1 ಅನ್ನು ಆರಂಭಿಸಲಾಗಲಿಲ್ಲ.").arg(program));
}

// VELMORA_REMINDERS_CHECK_SECONDS shortens the look at the diary (tests); never longer than a
// minute, so a change reaches the schedule within one.
int checkSeconds()
{
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("VELMORA_REMINDERS_CHECK_SECONDS", &ok);
    return ok && seconds >= 1 && seconds <= kCheckSeconds ? seconds : kCheckSeconds;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("velmora-reminders"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELMORA_VERSION));
    // Decoded here, not by Qt: a file name that is not UTF-8 keeps its bytes.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << files::fromNativePath(argv[i]);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Shows the diary's coming engagements as desktop notifications: a programme, and a "
        "tour's departure, minutes-before ahead (default 30), and a tour on the evening before "
        "(tour-evening, default 18:00), as set in ~/.config/Velmora/Velmora.ini's [reminders]. "
        "It only reads the diary."));
    parser.addOption({QStringLiteral("diary"),
                      QStringLiteral("The diary file (default: the one the program opens)."),
                      QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("server"),
                      QStringLiteral("The diary on a PostgreSQL server instead: a libpq "
                                     "connection string or service=NAME (no password)."),
                      QStringLiteral("CONNECTION")});
    parser.addHelpOption();
    parser.addVersionOption();
    if (!parser.parse(arguments))
        return badInput(QStringLiteral(u"ಆಯ್ಕೆ ತಪ್ಪಾಗಿದೆ: %1 (velmora-reminders --help ನೋಡಿ)")
                            .arg(parser.errorText()));
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
    if (!parser.positionalArguments().isEmpty())
        return badInput(QStringLiteral(u"'%1' ಬೇಡ: ಈ ಆಜ್ಞೆ ಆಯ್ಕೆಗಳನ್ನು ಮಾತ್ರ ತೆಗೆದುಕೊಳ್ಳುತ್ತದೆ.")
                            .arg(parser.positionalArguments().first()));
    const QString server = parser.value(QStringLiteral("server"));
    if (!server.isEmpty() && parser.isSet(QStringLiteral("diary")))
        return badInput(QStringLiteral(u"--diary ಅಥವಾ --server, ಎರಡರಲ್ಲಿ ಒಂದನ್ನು ಮಾತ್ರ ಕೊಡಿ."));
    QString diary = parser.value(QStringLiteral("diary"));
    try {
        if (!server.isEmpty()) {
            // Refused before anything connects, so no password reaches a message or a server.
            data::refuseServerPassword(server, QStringLiteral("--server"));
            data::setServerConnection(server);
            diary = server;
        } else if (diary.isEmpty()) {
            diary = data::diaryPath();
        }
    } catch (const jet::JetError& error) {
        return badInput(error.text());
    }
    // The same program keeps the phone calendar current when [publish] url is set, whether or
    // not reminders are wanted.
    publish::PublishSchedule publishing(diary);
    QObject::connect(&publishing, &publish::PublishSchedule::failed, &app,
                     [](const QString& text) { reminders::sayOnce(text); });
    const bool publishes = publishing.start();
    if (!reminders::readSettings().enabled) {
        reminders::sayOnce(reminders::texts::switchedOff());
        if (!publishes)
            return 0;
        endOnTerminationSignals(app);
        return app.exec();
    }

    endOnTerminationSignals(app);
    DesktopNotifier notifier;
    QObject::connect(&notifier, &reminders::Notifier::actionChosen, &app,
                     [](uint, const QString& action) {
                         if (action == QLatin1String("open"))
                             openVelmora();
                     });
    reminders::ReminderService service(diary, notifier, checkSeconds());
    QObject::connect(&notifier, &DesktopNotifier::wokeUp, &service,
                     &reminders::ReminderService::lookNow);
    QObject::connect(&service, &reminders::ReminderService::switchedOff, &app, [publishes] {
        reminders::sayOnce(reminders::texts::switchedOff());
        if (!publishes)
            QCoreApplication::exit(0);
    });
    QTimer::singleShot(0, &service, &reminders::ReminderService::start);
    return app.exec();
}
