#include "CliRun.h"

#include "CliCommand.h"
#include "data/DiaryDatabase.h"
#include "data/DiaryLocation.h"
#include "data/Version.h"
#include "platform/files/FileChecks.h"

namespace cli {

namespace {

struct Command {
    const char* name;
    const char* summary; // one line for `velmora-cli --help`
    int (*run)(const QStringList& arguments);
};

// Every subcommand, in the order `velmora-cli --help` lists them.
constexpr Command kCommands[] = {
    {"add", "Add a record to a register, as its window does", runAdd},
    {"agenda", "The engagements of a range of days across the three registers", runAgenda},
    {"backup", "Back up the diary into backups/ beside it, or into a file", runBackup},
    {"change", "Change fields of one record, as its window does", runChange},
    {"clashes", "Every pair of engagements that clash, as CSV", runClashes},
    {"delete", "Delete one record, which the diary keeps", runDelete},
    {"deleted", "List a register's deleted records, or bring one back", runDeleted},
    {"export", "Export a register as CSV or iCalendar (ics)", runExport},
    {"find", "Find a text in every register, as CSV", runFind},
    {"import", "Bring the records of a Jet (.mdb) diary into a diary", runImport},
    {"list", "List a register as CSV, narrowed like the search windows", runList},
    {"publish", "Make a CalDAV calendar hold the registers' records as events", runPublish},
    {"report", "Write a register's report for a date range as a PDF", runReport},
    {"restore", "Restore the diary from a backup (the diary is backed up first)", runRestore},
    {"server", "Lay the diary out on a PostgreSQL server, or check one", runServer},
    {"upcoming", "What the background reminders remind of now or soon, as CSV", runUpcoming},
};

void printOverview(QTextStream& to)
{
    to << "usage: velmora-cli SUBCOMMAND [OPTIONS]   (velmora-cli SUBCOMMAND --help)\n"
          "       velmora-cli --version\n\n"
          "Subcommands:\n";
    for (const Command& c : kCommands)
        to << "  " << QString::fromLatin1(c.name).leftJustified(10) << ' ' << c.summary << '\n';
    to << '\n' << exitStatusText() << '\n';
}

} // namespace

int run(const QStringList& arguments, const Streams& streams)
{
    const RunScope scope(streams);
    if (arguments.isEmpty()) {
        printOverview(err());
        err().flush();
        return kBadInput;
    }
    const QString name = arguments.first();
    if (name == QLatin1String("--help") || name == QLatin1String("-h") ||
        name == QLatin1String("help")) {
        printOverview(out());
        return finishOutput(name, kDone);
    }
    if (name == QLatin1String("--version")) {
        out() << "velmora-cli " VELMORA_VERSION "\n";
        return finishOutput(name, kDone);
    }
    const auto command =
        std::find_if(std::begin(kCommands), std::end(kCommands),
                     [&](const Command& c) { return name == QLatin1String(c.name); });
    if (command == std::end(kCommands)) {
        fail(name, QStringLiteral(u"ಈ ಉಪಆಜ್ಞೆ ಇಲ್ಲ (velmora-cli --help ನೋಡಿ)."));
        return kBadInput;
    }
    // The user's own diary is never a place to write to, whichever diary a
    // subcommand works on.
    const QString home = data::findDiaryFile(data::diaryPath());
    if (!home.isEmpty())
        files::protectDiary(home);
    return command->run(arguments.mid(1));
}

} // namespace cli
