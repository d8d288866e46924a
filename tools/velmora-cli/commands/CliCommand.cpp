#include "CliCommand.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QIODevice>

#include "data/DiaryDatabase.h"
#include "data/DiaryLocation.h"
#include "data/ProgramFolder.h"
#include "platform/files/FileChecks.h"
#include "platform/jet/JetError.h"
#include "platform/paths/NativePath.h"

namespace cli {

namespace {

// A failed write on standard output: what was written is incomplete.
struct OutputFailed {
    int error;
};

// The diary the subcommand named, for messages that do not name it themselves.
QString& diaryShown()
{
    static QString path;
    return path;
}

bool holdsKannada(const QString& text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() >= 0x0C80 && c.unicode() <= 0x0CFF; });
}

// The failure's class in Kannada, for engine texts that are not in Kannada themselves.
QString environmentText(int number)
{
    namespace e = jet::errors;
    switch (number) {
    case e::kFileLocked: return QStringLiteral(u"ದಿನಚರಿ ಕಾರ್ಯನಿರತವಾಗಿದೆ ಅಥವಾ ಅದಕ್ಕೆ ಬೀಗ ಹಾಕಲಾಗಿದೆ");
    case e::kDiskFull: return QStringLiteral(u"ಡಿಸ್ಕ್ ತುಂಬಿದೆ");
    case e::kDiskIo: return QStringLiteral(u"ಡಿಸ್ಕನ್ನು ಓದಲು ಅಥವಾ ಅದಕ್ಕೆ ಬರೆಯಲು ಆಗಲಿಲ್ಲ");
    case e::kReadOnly: return QStringLiteral(u"ಅನುಮತಿ ಇಲ್ಲ");
    case e::kServerUnreachable: return QStringLiteral(u"ದಿನಚರಿಯ ಸರ್ವರ್ ಸಿಗಲಿಲ್ಲ");
    case e::kCommitOutcomeUnknown:
        return QStringLiteral(
            u"ಬದಲಾವಣೆ ಸರ್ವರ್‌ನಲ್ಲಿ ಉಳಿಯಿತೋ "
            u"ಇಲ್ಲವೋ "
            u"ತಿಳಿಯದು");
    default: return {};
    }
}

// Standard output through stdio, so text and raw bytes keep their order and every failed
// write is seen (stdio's error flag stays set until the end).
class StandardOutput : public QIODevice {
public:
    StandardOutput() { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        const bool written = qint64(std::fwrite(data, 1, size_t(size), stdout)) == size;
        return written && !std::ferror(stdout) ? size : -1;
    }
};

} // namespace

// Where the run in progress writes.
struct RunOutput {
    explicit RunOutput(const Streams& streams)
        : given(streams), device(streams.out ? streams.out : &standardOutput), out(device),
          err(streams.err ? streams.err : &standardError)
    {
        if (!streams.err)
            standardError.open(stderr, QIODevice::WriteOnly);
    }
    Streams given;
    StandardOutput standardOutput;
    QFile standardError;
    QIODevice* device; // standard output
    QTextStream out;
    QTextStream err;
};

namespace {

// The run in progress; without one, the process's own streams.
RunOutput*& current()
{
    static RunOutput* output = nullptr;
    return output;
}

RunOutput& output()
{
    static RunOutput process{Streams{}};
    return current() ? *current() : process;
}

void forgetEarlierRuns()
{
    data::setServerConnection(QString());
    diaryShown().clear();
}

// Standard output flushed and checked; false when any write on it failed.
bool outputComplete()
{
    out().flush();
    const bool streamOk = out().status() == QTextStream::Ok;
    if (output().given.out)
        return streamOk;
    return std::fflush(stdout) == 0 && !std::ferror(stdout) && streamOk;
}

QString outputFailedText(int error)
{
    return QStringLiteral(u"ಪ್ರಮಾಣಿತ ಔಟ್‌ಪುಟ್‌ಗೆ "
                          u"ಬರೆಯಲಾಗಲಿಲ್ಲ "
                          u"(%1); "
                          u"ಅದರಲ್ಲಿರುವುದು "
                          u"ಅಪೂರ್ಣ.")
        .arg(QString::fromLocal8Bit(std::strerror(error ? error : EIO)));
}

} // namespace

RunScope::RunScope(const Streams& streams)
    : m_output(std::make_unique<RunOutput>(streams)), m_previous(current())
{
    forgetEarlierRuns();
    current() = m_output.get();
}

RunScope::~RunScope()
{
    m_output->out.flush();
    m_output->err.flush();
    current() = m_previous;
    forgetEarlierRuns();
}

QTextStream& out()
{
    return output().out;
}

QTextStream& err()
{
    return output().err;
}

bool errorsOnTerminal()
{
    return !output().given.err && ::isatty(STDERR_FILENO);
}

std::optional<int> parse(QCommandLineParser& parser, const QString& name,
                         const QStringList& arguments, const QStringList& repeatable)
{
    parser.addHelpOption();
    QStringList full = arguments;
    full.prepend(QStringLiteral("velmora-cli ") + name);
    if (!parser.parse(full)) {
        fail(name, QStringLiteral(u"ಆಯ್ಕೆ ತಪ್ಪಾಗಿದೆ: %1 (velmora-cli %2 --help ನೋಡಿ)")
                       .arg(parser.errorText(), name));
        return kBadInput;
    }
    QStringList seen;
    for (const QString& option : parser.optionNames()) {
        if (seen.contains(option) && !repeatable.contains(option)) {
            fail(name, QStringLiteral(u"--%1 ಎರಡು ಬಾರಿ ಬಂದಿದೆ; ಒಮ್ಮೆ ಮಾತ್ರ ಕೊಡಿ.").arg(option));
            return kBadInput;
        }
        seen.append(option);
    }
    if (parser.isSet(QStringLiteral("help"))) {
        // The usage line names the command as it is typed, not the program's full path.
        QString help = parser.helpText();
        const QString program = QCoreApplication::arguments().value(0);
        if (!program.isEmpty())
            help.replace(help.indexOf(program), program.size(),
                         QStringLiteral("velmora-cli ") + name);
        out() << help << '\n' << exitStatusText() << '\n';
        return finishOutput(name, kDone);
    }
    return std::nullopt;
}

void addDiaryOption(QCommandLineParser& parser)
{
    parser.addOption(
        {QStringLiteral("diary"),
         QStringLiteral("The diary file (default: Tarnalist.mdb beside the program, or "
                        "in ~/.local/share/Velmora when it is installed "
                        "system-wide)."),
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
        diaryShown() = server;
        return server;
    }
    const QString given = parser.value(QStringLiteral("diary"));
    diaryShown() = given.isEmpty() ? data::diaryPath() : given;
    return diaryShown();
}

void fail(const QString& name, const QString& text)
{
    out().flush();
    QString line = files::shownPath(text.trimmed());
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    err() << "velmora-cli " << name << ": " << line << Qt::endl;
}

QString exitStatusText()
{
    return QStringLiteral(
        "Exit status: 0 done; 1 nothing to do (an empty list, range or export); 2 bad input "
        "(usage, a bad or reversed date, an unknown register, a text with no Varnel form, a "
        "duplicated option, a file that is not a diary, a refused output file); 3 the "
        "environment failed (the diary busy or locked, a full disk, a failed write on standard "
        "output or a file, the server unreachable or refusing). Messages go to standard error, "
        "one line each; a failed run leaves files as they were.");
}

int finishOutput(const QString& name, int code)
{
    if (outputComplete())
        return code;
    fail(name, outputFailedText(errno));
    return kEnvironment;
}

int runGuarded(const QString& name, const std::function<int()>& body)
{
    int code = kBadInput;
    try {
        code = body();
    } catch (const BadInput& bad) {
        fail(name, bad.text);
    } catch (const OutputFailed& failed) {
        fail(name, outputFailedText(failed.error));
        return kEnvironment;
    } catch (const jet::JetError& error) {
        const QString kind = environmentText(error.number());
        QString text = error.text();
        if (!holdsKannada(text))
            text =
                (kind.isEmpty() ? QStringLiteral(u"ಬಳಸಲಾಗದು") : kind) + QStringLiteral(": ") + text;
        if (!kind.isEmpty() && !diaryShown().isEmpty() && !text.contains(diaryShown()))
            text += QStringLiteral(u" (ದಿನಚರಿ '%1')").arg(diaryShown());
        fail(name, text);
        code = kind.isEmpty() ? kBadInput : kEnvironment;
    } catch (const std::exception& error) {
        const QString text = QString::fromUtf8(error.what());
        fail(name, holdsKannada(text) ? text : QStringLiteral(u"ಬಳಸಲಾಗದು: ") + text);
    }
    return finishOutput(name, code);
}

void printLine(const QString& line)
{
    writeOut(files::nativePath(line) + '\n');
}

void writeOut(const char* data, size_t size)
{
    out().flush();
    if (size > 0 && output().device->write(data, qint64(size)) != qint64(size))
        throw OutputFailed{output().given.out ? 0 : errno};
}

QString checkedTarget(const QString& path)
{
    try {
        return files::checkOutputTarget(path);
    } catch (const jet::JetError& refused) {
        throw BadInput{refused.text()};
    }
}

DateRange dateRange(const QCommandLineParser& parser)
{
    DateRange range{dateOption(parser, QStringLiteral("from")),
                    dateOption(parser, QStringLiteral("to"))};
    if (range.from && range.to && *range.from > *range.to)
        throw BadInput{
            QStringLiteral(u"--from %1 ದಿನಾಂಕವು --to %2 ರ ನಂತರ ಬರುತ್ತದೆ; ವ್ಯಾಪ್ತಿ "
                           u"ತಿರುವುಮುರುವಾಗಿದೆ.")
                .arg(range.from->toString(Qt::ISODate), range.to->toString(Qt::ISODate))};
    return range;
}

void addDateRangeOptions(QCommandLineParser& parser)
{
    parser.addOption({QStringLiteral("from"), QStringLiteral("First date (YYYY-MM-DD)."),
                      QStringLiteral("YYYY-MM-DD")});
    parser.addOption({QStringLiteral("to"), QStringLiteral("Last date (YYYY-MM-DD)."),
                      QStringLiteral("YYYY-MM-DD")});
}

int numberOption(const QCommandLineParser& parser, const QString& name, int fallback, int lowest,
                 int highest, const QString& unit)
{
    if (!parser.isSet(name))
        return fallback;
    bool ok = false;
    const int number = parser.value(name).toInt(&ok);
    if (!ok || number < lowest || number > highest)
        throw BadInput{QStringLiteral(u"--%1 '%2': %3 ರಿಂದ %4 ರ ವರೆಗಿನ %5 ಸಂಖ್ಯೆಯಲ್ಲ.")
                           .arg(name, parser.value(name))
                           .arg(lowest)
                           .arg(highest)
                           .arg(unit)};
    return number;
}

std::optional<QDate> dateOption(const QCommandLineParser& parser, const QString& name)
{
    if (!parser.isSet(name))
        return std::nullopt;
    const QString text = parser.value(name);
    const QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid())
        throw BadInput{QStringLiteral(u"--%1 '%2': YYYY-MM-DD ರೂಪದ ದಿನಾಂಕವಲ್ಲ.").arg(name, text)};
    return date;
}

void refuseArguments(const QCommandLineParser& parser)
{
    if (!parser.positionalArguments().isEmpty())
        throw BadInput{
            QStringLiteral(u"ಬೇಡದ ಆರ್ಗ್ಯುಮೆಂಟ್ '%1'.").arg(parser.positionalArguments().first())};
}

QString registerArgument(const QCommandLineParser& parser)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        throw BadInput{QStringLiteral(u"ಒಂದು ರಿಜಿಸ್ಟರ್ ಹೆಸರಿಸಿ: local, outstation ಅಥವಾ tour.")};
    const QString name = positional.first();
    if (name != QLatin1String("local") && name != QLatin1String("outstation") &&
        name != QLatin1String("tour"))
        throw BadInput{
            QStringLiteral(u"'%1' ಎಂಬ ರಿಜಿಸ್ಟರ್ ಇಲ್ಲ: local, outstation ಅಥವಾ tour.").arg(name)};
    return name;
}

QString existingDiaryPath(const QCommandLineParser& parser)
{
    const QString path = diaryPath(parser);
    if (data::findDiaryFile(path).isEmpty())
        throw BadInput{QStringLiteral(u"'%1' ನಲ್ಲಿ ದಿನಚರಿ ಇಲ್ಲ.").arg(path)};
    return path;
}

} // namespace cli
