// velmora-cli SUBCOMMAND [OPTIONS]: the diary from the command line, on the program's own
// libraries. Exit 0 done, 1 nothing to do, 2 bad input, 3 the environment failed; see
// commands/CliCommand.h.

#include <QCoreApplication>

#include "commands/CliRun.h"
#include "platform/paths/NativePath.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("velmora-cli"));
    // Decoded here, not by Qt: a file name that is not UTF-8 keeps its bytes (see NativePath.h).
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << files::fromNativePath(argv[i]);
    return cli::run(arguments);
}
