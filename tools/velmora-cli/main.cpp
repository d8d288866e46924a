// velmora-cli SUBCOMMAND [OPTIONS]: the diary from the command line, on the program's own
// libraries. Exit 0 done, 1 nothing to do, 2 bad input, 3 the environment failed; see
// CliCommand.h.

#include <QCoreApplication>

#include "CliCommand.h"
#include "data/DiaryDatabase.h"
#include "data/DiaryLocation.h"
#include "data/ProgramFolder.h"
#include "data/Version.h"
#include "platform/files/FileChecks.h"
#include "platform/files/NativePath.h"

namespace {

void printOverview(QTextStream& to)
{
    to << "usage: velmora-cli SUBCOMMAND [OPTIONS]   (velmora-cli SUBCOMMAND --help)\n"
          "       velmora-cli --version\n\n"
          "Subcommands:\n";
    for (const cli::Command& c : cli::commands())
        to << "  " << QString::fromLatin1(c.name).leftJustified(10) << ' ' << c.summary << '\n';
    to << '\n' << cli::exitStatusText() << '\n';
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("velmora-cli"));
    // Decoded here, not by Qt: a file name that is not UTF-8 keeps its bytes (see NativePath.h).
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << files::fromNativePath(argv[i]);
    if (arguments.isEmpty()) {
        printOverview(cli::err());
        cli::err().flush();
        return cli::kBadInput;
    }
    const QString name = arguments.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h") ||
        name == QLatin1String("help")) {
        printOverview(cli::out());
        return cli::finishOutput(name, cli::kDone);
    }
    if (name == QLatin1String("--version")) {
        cli::out() << "velmora-cli " VELMORA_VERSION "\n";
        return cli::finishOutput(name, cli::kDone);
    }
    const cli::Command* command = cli::findCommand(name);
    if (!command) {
        cli::fail(name, QStringLiteral(u"ಈ ಉಪಆಜ್ಞೆ ಇಲ್ಲ (velmora-cli --help ನೋಡಿ)."));
        return cli::kBadInput;
    }
    // The user's own diary is never a place to write to, whichever diary a
    // subcommand works on.
    const QString home = data::findDiaryFile(data::diaryPath());
    if (!home.isEmpty())
        files::protectDiary(home);
    return command->run(arguments);
}
