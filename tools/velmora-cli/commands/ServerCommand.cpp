// velmora-cli server: lays a diary out on a PostgreSQL server (optionally with the records of
// a diary file) and says what a server holds.
#include <QCommandLineParser>
#include <QUuid>

#include "CliCommand.h"
#include "data/DiaryDatabase.h"
#include "data/DiarySchema.h"
#include "export/DiaryIdentity.h"
#include "platform/files/NativeFiles.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetError.h"
#include "platform/jet/ServerSchema.h"

namespace {

const QString kName = QStringLiteral("server");

int init(const QString& connection, const QString& fromDiary)
{
    std::shared_ptr<jet::Database> file;
    if (!fromDiary.isEmpty()) {
        // Only read: a diary file that does not exist is not made.
        if (!files::isFile(fromDiary))
            throw cli::BadInput{
                QStringLiteral(u"'%1' ನಲ್ಲಿ ದಿನಚರಿಯ ಕಡತ ಇಲ್ಲ; ಏನನ್ನೂ ಬದಲಿಸಲಿಲ್ಲ.").arg(fromDiary)};
        file = data::OpenDiaryFile(fromDiary);
    }
    auto server = jet::Database::ConnectServer(connection);
    // The recently deleted records come along, so they can still be brought back.
    jet::FirstUseTables kept;
    if (file && data::hasKeptDeletionsTable(*file))
        kept = {data::keptDeletionsStatements(), {QLatin1String(data::kKeptDeletionsTable)}};
    jet::initServerDiary(*server, data::diarySchemaStatements(), file.get(), kept);
    // The diary's identity is made with it (the file's own when it has one), so every desk's
    // calendar exports carry the same UIDs, whatever its role may write.
    const std::optional<QString> fileId = file ? exports::storedDiaryId(*file) : std::nullopt;
    exports::storeDiaryId(*server, fileId.value_or(QUuid::createUuid().toString(QUuid::Id128)));
    cli::out() << "Laid the diary out on " << server->path() << Qt::endl;
    for (const auto& [table, count] : jet::readServerDiaryState(*server).counts)
        cli::out() << table << ": " << count << " records" << Qt::endl;
    return cli::kDone;
}

int check(const QString& connection)
{
    // A failure to connect is reported on standard error by the failure layer (exit 3).
    const std::shared_ptr<jet::Database> server = jet::Database::ConnectServer(connection);
    cli::out() << "reachable: yes" << Qt::endl;
    const jet::ServerDiaryState state = jet::readServerDiaryState(*server);
    if (!state.schemaVersion) {
        cli::out() << "diary: none (lay one out with velmora-cli server init)" << Qt::endl;
        return cli::kNothingToDo;
    }
    cli::out() << "schema version: " << *state.schemaVersion << Qt::endl;
    for (const auto& [table, count] : state.counts)
        cli::out() << table << ": " << count << " records" << Qt::endl;
    return cli::kDone;
}

} // namespace

int cli::runServer(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("init CONNECTION lays the diary out on an empty PostgreSQL database in "
                       "one transaction: the six tables, the query functions, the row "
                       "identities and the change notices; with --from-diary it copies that "
                       "diary file's registers in, byte for byte. A database that already holds "
                       "a diary is refused and left unchanged.\ncheck CONNECTION says whether "
                       "the server is reachable, the diary's schema version and how many "
                       "records each register holds.\nCONNECTION is a libpq connection string "
                       "(\"host=... dbname=... user=...\") or service=NAME; the password comes "
                       "from ~/.pgpass or pg_service.conf, never from the command line. check "
                       "exits 1 when the database holds no diary."));
    parser.addPositionalArgument(QStringLiteral("action"), QStringLiteral("init or check"));
    parser.addPositionalArgument(QStringLiteral("connection"),
                                 QStringLiteral("The server's connection text."));
    parser.addOption({QStringLiteral("from-diary"),
                      QStringLiteral("With init: copy this diary file's registers in."),
                      QStringLiteral("FILE")});
    if (const auto done = cli::parse(parser, kName, arguments))
        return *done;
    return cli::runGuarded(kName, [&] {
        const QStringList positional = parser.positionalArguments();
        const QString action = positional.value(0);
        if (positional.size() != 2 ||
            (action != QLatin1String("init") && action != QLatin1String("check")))
            throw cli::BadInput{QStringLiteral(u"ಹೀಗೆ ಬರೆಯಿರಿ: server init CONNECTION "
                                               u"[--from-diary FILE] ಅಥವಾ server check "
                                               u"CONNECTION.")};
        data::refuseServerPassword(positional[1], QStringLiteral("the command line"));
        return action == QLatin1String("init") ? init(positional[1], parser.value("from-diary"))
                                               : check(positional[1]);
    });
}
