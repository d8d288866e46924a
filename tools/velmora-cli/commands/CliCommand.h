#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include <QByteArray>
#include <QCommandLineParser>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include "CliRun.h"

namespace cli {

// Exit statuses shared by every subcommand.
enum Exit : int {
    kDone = 0,        // the work was done
    kNothingToDo = 1, // e.g. an empty range: nothing was written
    kBadInput = 2,    // bad arguments, a file that cannot be used; nothing was changed
    kEnvironment = 3, // the diary busy or locked, a full disk, a failed write, no server
};

// The contract as every --help ends.
QString exitStatusText();

// The subcommands, each in a file of its own; each gets its own arguments (without the program
// and subcommand names). CliRun.cpp lists them.
int runAdd(const QStringList& arguments);
int runAgenda(const QStringList& arguments);
int runBackup(const QStringList& arguments);
int runChange(const QStringList& arguments);
int runClashes(const QStringList& arguments);
int runDelete(const QStringList& arguments);
int runDeleted(const QStringList& arguments);
int runExport(const QStringList& arguments);
int runFind(const QStringList& arguments);
int runImport(const QStringList& arguments);
int runList(const QStringList& arguments);
int runPublish(const QStringList& arguments);
int runReport(const QStringList& arguments);
int runRestore(const QStringList& arguments);
int runServer(const QStringList& arguments);
int runUpcoming(const QStringList& arguments);

struct RunOutput;

// One run of the command line: while it lives, out(), err() and writeOut() go to `streams`, and
// nothing an earlier run in this process chose (--server, the diary it named) carries over.
class RunScope {
public:
    explicit RunScope(const Streams& streams);
    ~RunScope();
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

private:
    std::unique_ptr<RunOutput> m_output;
    RunOutput* m_previous;
};

// The run's standard output and standard error: the process's own (stdio) unless the run was
// given streams of its caller.
QTextStream& out();
QTextStream& err();
// Standard error is the process's own and a terminal, where progress may be shown.
bool errorsOnTerminal();

// Parses `arguments` for the subcommand `name`. Prints the help and returns kDone for --help,
// prints the error with a hint and returns kBadInput for bad arguments; std::nullopt when the
// subcommand should go on.
std::optional<int> parse(QCommandLineParser& parser, const QString& name,
                         const QStringList& arguments, const QStringList& repeatable = {});

// Adds --diary FILE and, in its place, --server CONNECTION; diaryPath() then gives the file,
// by default the diary in the program's folder (found in any letter case, as the program
// does). With --server every diary the command opens is the one on that server, and
// diaryPath() gives the connection text.
void addDiaryOption(QCommandLineParser& parser);
QString diaryPath(const QCommandLineParser& parser);

// Reports a failure on stderr as "velmora-cli NAME: text", on one line.
void fail(const QString& name, const QString& text);

// Input a subcommand cannot use, thrown from its body; runGuarded reports it.
struct BadInput {
    QString text;
};

// The one failure layer. Runs a subcommand's body and reports every failure as one line
// "velmora-cli NAME: text" on stderr: BadInput and engine refusals of the input give
// kBadInput; engine failures of the environment (busy, locked, full, I/O, no server) and a
// failed write on standard output give kEnvironment. Standard output is flushed and checked
// at the end.
int runGuarded(const QString& name, const std::function<int()>& body);

// Flushes and checks standard output: `code` when all of it was written, else kEnvironment
// with a message.
int finishOutput(const QString& name, int code);

// Writes bytes to standard output, checked: a failed write throws, and runGuarded exits 3.
void writeOut(const char* data, size_t size);
inline void writeOut(const QByteArray& bytes)
{
    writeOut(bytes.constData(), size_t(bytes.size()));
}

// Writes a line on standard output; a path in it goes out as its exact bytes, for scripts to use.
void printLine(const QString& line);

// Gathers pieces of output and hands them on about 64 KiB at a time, so a long output is
// written as it is made without a system call per line.
class PieceBuffer {
public:
    explicit PieceBuffer(std::function<void(const QByteArray&)> to) : m_to(std::move(to)) {}
    void operator()(const QByteArray& piece)
    {
        m_buffer += piece;
        if (m_buffer.size() >= 64 * 1024)
            flush();
    }
    void flush()
    {
        if (!m_buffer.isEmpty())
            m_to(m_buffer);
        m_buffer.truncate(0);
    }

private:
    std::function<void(const QByteArray&)> m_to;
    QByteArray m_buffer;
};

// files::checkOutputTarget, its refusals of the target being BadInput.
QString checkedTarget(const QString& path);

// --from and --to as a range; BadInput when --from is after --to.
struct DateRange {
    std::optional<QDate> from;
    std::optional<QDate> to;
};
DateRange dateRange(const QCommandLineParser& parser);

// Adds --from and --to, each a date YYYY-MM-DD.
void addDateRangeOptions(QCommandLineParser& parser);
// The date given as --NAME, std::nullopt when it is not given; BadInput when it is no date.
std::optional<QDate> dateOption(const QCommandLineParser& parser, const QString& name);
// The whole number given as --NAME, `fallback` when it is not given; BadInput naming the option
// and the range unless it lies from `lowest` to `highest`. `unit` is what it counts, in Kannada
// ("ನಿಮಿಷಗಳ", minutes').
int numberOption(const QCommandLineParser& parser, const QString& name, int fallback, int lowest,
                 int highest, const QString& unit);
// BadInput naming the first argument given to a command that takes none.
void refuseArguments(const QCommandLineParser& parser);
// The one register named on the command line: local, outstation or tour; BadInput otherwise.
QString registerArgument(const QCommandLineParser& parser);
// diaryPath(), refused (BadInput) when no diary is there: commands that only read never make one.
QString existingDiaryPath(const QCommandLineParser& parser);

} // namespace cli
