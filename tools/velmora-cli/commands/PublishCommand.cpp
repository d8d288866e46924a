// velmora-cli publish: the registers as events of a CalDAV calendar, for phones to read.
#include <QCommandLineParser>

#include "CliCommand.h"
#include "publish/CalDavClient.h"
#include "publish/PublishError.h"
#include "publish/PublishRun.h"

namespace {

const QString kName = QStringLiteral("publish");

using cli::BadInput;

data::Registers registersOption(const QCommandLineParser& parser)
{
    if (!parser.isSet(QStringLiteral("register")))
        return data::everyRegister();
    data::Registers chosen;
    for (const QString& name : parser.values(QStringLiteral("register"))
                                   .join(QLatin1Char(','))
                                   .split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const auto which = data::registerNamed(name.trimmed());
        if (!which)
            throw BadInput{
                QStringLiteral(u"'%1' ಎಂಬ ರಿಜಿಸ್ಟರ್ ಇಲ್ಲ: local, outstation ಅಥವಾ tour.").arg(name)};
        chosen |= *which;
    }
    if (!chosen)
        throw BadInput{QStringLiteral(u"ಒಂದು ರಿಜಿಸ್ಟರ್ ಹೆಸರಿಸಿ: local, outstation ಅಥವಾ tour.")};
    return chosen;
}

} // namespace

int cli::runPublish(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Makes the CalDAV calendar collection at URL hold exactly the diary's records of the "
        "chosen registers as events (Kannada texts, times in the system's time zone with its "
        "VTIMEZONE), each with the UID `export --format ics` gives it, so phones that read the "
        "calendar stay current. Only what changed since the last publish is sent; events the "
        "diary no longer holds are deleted; events Velmora did not publish are left alone. What "
        "was sent is remembered in $XDG_STATE_HOME/Velmora (~/.local/state/Velmora). The login "
        "and password come from ~/.netrc (readable by you alone) or else the desktop's secret "
        "service (secret-tool store --label=Velmora server HOST protocol https user LOGIN), "
        "never from the command line. "
        "Prints what was sent, deleted and left as it was."));
    parser.addOption({QStringLiteral("to"),
                      QStringLiteral("The calendar collection (http:// or https://)."),
                      QStringLiteral("URL")});
    parser.addOption({QStringLiteral("register"),
                      QStringLiteral("Only this register: local, outstation or tour; given again, "
                                     "or comma-separated, for more (default: all three)."),
                      QStringLiteral("NAMES")});
    cli::addDiaryOption(parser);
    if (const auto done = cli::parse(parser, kName, arguments, {QStringLiteral("register")}))
        return *done;

    return cli::runGuarded(kName, [&] {
        cli::refuseArguments(parser);
        if (!parser.isSet(QStringLiteral("to")))
            throw BadInput{QStringLiteral(u"ಕ್ಯಾಲೆಂಡರ್ ಹೆಸರಿಸಿ: --to URL.")};
        try {
            publish::PublishRequest request;
            request.url = publish::checkedCollectionUrl(parser.value(QStringLiteral("to")));
            request.registers = registersOption(parser);
            request.diaryPath = cli::existingDiaryPath(parser);
            const publish::PublishOutcome done = publish::publishDiary(request);
            cli::out() << QStringLiteral("%1: %2 sent, %3 deleted, %4 unchanged\n")
                              .arg(publish::shownUrl(request.url))
                              .arg(done.sent)
                              .arg(done.deleted)
                              .arg(done.unchanged);
            return int(cli::kDone);
        } catch (const publish::PublishError& error) {
            if (error.kind == publish::PublishError::BadInput)
                throw BadInput{error.text};
            cli::fail(kName, error.text);
            return int(cli::kEnvironment);
        }
    });
}
