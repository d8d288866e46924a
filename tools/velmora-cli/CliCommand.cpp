#include "CliCommand.h"

#include <algorithm>
#include <cstdio>

#include <QCoreApplication>

#include "data/DiaryDatabase.h"
#include "data/ProgramFolder.h"

namespace cli {

namespace {

QList<Command>& registry()
{
    static QList<Command> list;
    return list;
}

} // namespace

bool registerCommand(const Command& command)
{
    registry().append(command);
    std::sort(registry().begin(), registry().end(),
              [](const Command& a, const Command& b) { return qstrcmp(a.name, b.name) < 0; });
    return true;
}

const Command* findCommand(const QString& name)
{
    for (const Command& c : registry()) {
        if (name == QLatin1String(c.name))
            return &c;
    }
    return nullptr;
}

QList<Command> commands()
{
    return registry();
}

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream& err()
{
    static QTextStream stream(stderr);
    return stream;
}

std::optional<int> parse(QCommandLineParser& parser, const QString& name,
                         const QStringList& arguments)
{
    parser.addHelpOption();
    QStringList full = arguments;
    full.prepend(QStringLiteral("velmora-cli ") + name);
    if (!parser.parse(full)) {
        fail(name, parser.errorText() + QStringLiteral(" (see velmora-cli %1 --help)").arg(name));
        return kBadInput;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        // The usage line names the command as it is typed, not the program's full path.
        QString help = parser.helpText();
        const QString program = QCoreApplication::arguments().value(0);
        if (!program.isEmpty())
            help.replace(help.indexOf(program), program.size(),
                         QStringLiteral("velmora-cli ") + name);
        out() << help;
        out().flush();
        return kDone;
    }
    return std::nullopt;
}

void addDiaryOption(QCommandLineParser& parser)
{
    parser.addOption({QStringLiteral("diary"),
                      QStringLiteral("The diary file (default: Tarnalist.mdb in the program's "
                                     "folder)."),
                      QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("server"),
                      QStringLiteral("The diary on a PostgreSQL server instead: a libpq "
                                     "connection string or service=NAME (no password; use "
                                     "~/.pgpass)."),
                      QStringLiteral("CONNECTION")});
}

QString diaryPath(const QCommandLineParser& parser)
{
    const QString server = parser.value(QStringLiteral("server"));
    if (!server.isEmpty()) {
        // Refused before anything connects, so no password reaches a message or the server.
        data::refuseServerPassword(server, QStringLiteral("--server"));
        data::setServerConnection(server);
        return server;
    }
    const QString given = parser.value(QStringLiteral("diary"));
    return given.isEmpty() ? data::programFolder() + QStringLiteral("/Tarnalist.mdb") : given;
}

void fail(const QString& name, const QString& text)
{
    out().flush();
    err() << "velmora-cli " << name << ": " << text << Qt::endl;
}

int runGuarded(const QString& name, const std::function<int()>& body)
{
    try {
        return body();
    } catch (const BadInput& bad) {
        fail(name, bad.text);
    } catch (const std::exception& error) {
        fail(name, QString::fromUtf8(error.what()));
    }
    return kBadInput;
}

void addDateRangeOptions(QCommandLineParser& parser)
{
    parser.addOption({QStringLiteral("from"), QStringLiteral("First date (YYYY-MM-DD)."),
                      QStringLiteral("YYYY-MM-DD")});
    parser.addOption({QStringLiteral("to"), QStringLiteral("Last date (YYYY-MM-DD)."),
                      QStringLiteral("YYYY-MM-DD")});
}

std::optional<QDate> dateOption(const QCommandLineParser& parser, const QString& name)
{
    if (!parser.isSet(name))
        return std::nullopt;
    const QString text = parser.value(name);
    const QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid())
        throw BadInput{
            QStringLiteral("--%1 %2: not a date of the form YYYY-MM-DD").arg(name, text)};
    return date;
}

QString registerArgument(const QCommandLineParser& parser)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        throw BadInput{QStringLiteral("name one register: local, outstation or tour")};
    const QString name = positional.first();
    if (name != QLatin1String("local") && name != QLatin1String("outstation") &&
        name != QLatin1String("tour"))
        throw BadInput{QStringLiteral("no register '%1': local, outstation or tour").arg(name)};
    return name;
}

QString existingDiaryPath(const QCommandLineParser& parser)
{
    const QString path = diaryPath(parser);
    if (data::findDiaryFile(path).isEmpty())
        throw BadInput{QStringLiteral("no diary at %1").arg(path)};
    return path;
}

} // namespace cli
