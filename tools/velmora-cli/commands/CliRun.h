#pragma once

// velmora-cli as a library: the program's main() and tests that run a subcommand in process
// both come in through run().

#include <QStringList>

class QIODevice;

namespace cli {

// Where a run writes its standard output and standard error; a null device is the process's
// own (stdio, every write checked).
struct Streams {
    QIODevice* out = nullptr;
    QIODevice* err = nullptr;
};

// Runs `arguments` (the subcommand and its arguments, without the program's name) as
// `velmora-cli` does and returns its exit status (see CliCommand.h's Exit).
int run(const QStringList& arguments, const Streams& streams = {});

} // namespace cli
