#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>

#include "CliInProcess.h"
#include "FolderState.h"
#include "SampleDiary.h"
#include "TempProgramFolder.h"
#include "data/DiaryDatabase.h"
#include "platform/jet/Database.h"

// velmora-cli's exit contract as a script sees it: each subcommand and each class of failure
// gives its one code (2 bad input, 3 the environment failed), one line on standard error, no
// output on standard output, and the diary and its folder as they were.
class TestCliContract : public QObject {
    Q_OBJECT

private slots:
    void failures_data();
    void failures();
    void inProcessRunsAsTheProgram_data();
    void inProcessRunsAsTheProgram();
};

namespace {

const QString kTemplate = QStringLiteral(VELMORA_RESOURCES_DIR "/rptlocal.rpt");
// Nothing listens there: the connection is refused at once.
const QString kNoServer = QStringLiteral("host=127.0.0.1 port=1 dbname=velmora user=velmora");

} // namespace

void TestCliContract::failures_data()
{
    // $D the diary, $B a copy of it, $N not a diary, $M missing, $S no server, $F the folder
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<QString>("standardOutput"); // a file for stdout, or empty for a pipe
    QTest::addColumn<int>("exitCode");
    const auto row = [](const char* name, const char* arguments, int code, const char* out = "") {
        QTest::newRow(name) << QString::fromUtf8(arguments) << QString::fromUtf8(out) << code;
    };
    // Usage, a duplicated option, a bad value, a reversed range: bad input.
    row("list usage", "list local --bogus --diary $D", 2);
    row("export usage", "export local --format csv --bogus --diary $D", 2);
    row("report usage", "report local --from 2027-01-01 --to 2027-01-02 --bogus", 2);
    row("find usage", "find x --bogus --diary $D", 2);
    row("backup usage", "backup extra --diary $D", 2);
    row("restore usage", "restore --diary $D", 2);
    row("import usage", "import --diary $D", 2);
    row("server usage", "server start $S", 2);
    row("agenda usage", "agenda extra --diary $D", 2);
    row("clashes usage", "clashes --within soon --diary $D", 2);
    row("deleted usage", "deleted forget local --diary $D", 2);
    row("list twice", "list local --from 2027-01-01 --from 2027-02-01 --diary $D", 2);
    row("export twice", "export local --format csv --format ics --diary $D", 2);
    row("report twice", "report local --from 2027-01-01 --from 2027-01-01 --to 2027-01-02", 2);
    row("find twice", "find x --register local --register tour --diary $D", 2);
    row("backup twice", "backup --diary $D --diary $D", 2);
    row("restore twice", "restore $D --diary $D --diary $D", 2);
    row("import twice", "import $N --diary $M --diary $M", 2);
    row("server twice", "server init $S --from-diary $D --from-diary $D", 2);
    row("list bad register", "list nowhere --diary $D", 2);
    row("export bad format", "export local --format xls --diary $D", 2);
    row("report bad date", "report local --from 1/1/2027 --to 2027-01-02 --out $F/r.pdf", 2);
    row("agenda twice", "agenda --days 2 --days 3 --diary $D", 2);
    row("clashes reversed", "clashes --from 2027-02-01 --to 2027-01-01 --diary $D", 2);
    row("list reversed", "list local --from 2027-02-01 --to 2027-01-01 --diary $D", 2);
    row("tours reversed", "list tour --from 2027-02-01 --to 2027-01-01 --diary $D", 2);
    row("export reversed", "export tour --format ics --from 2027-02-01 --to 2027-01-01", 2);
    row("report reversed", "report local --from 2027-02-01 --to 2027-01-01 --out $F/r.pdf", 2);
    // A missing diary, or a file that is not one: bad input, and nothing is made.
    row("list missing", "list local --diary $M", 2);
    row("export missing", "export local --format csv --diary $M", 2);
    row("report missing",
        "report local --from 2027-01-01 --to 2027-01-02 --out $F/r.pdf --diary $M", 2);
    row("find missing", "find x --diary $M", 2);
    row("agenda missing", "agenda --diary $M", 2);
    row("deleted missing", "deleted list local --diary $M", 2);
    row("backup missing", "backup --diary $M", 2);
    row("restore missing", "restore $D --diary $M", 2);
    row("list not a diary", "list local --diary $N", 2);
    row("export not a diary", "export local --format csv --diary $N", 2);
    row("find not a diary", "find x --diary $N", 2);
    row("restore not a backup", "restore $N --diary $D", 2);
    row("import not a Jet file", "import $N --diary $M", 2);
    // A name that is not UTF-8 (given last, as bytes) in a missing folder: refused, the name
    // shown readably. Such a name is otherwise used as it is (tst_cli_outputs).
    row("export into a missing folder named not in UTF-8",
        "export local --format csv --diary $D --out", 2);
    // Standard output that cannot be written: the environment, with a message.
    row("list to a full disk", "list local --diary $D", 3, "/dev/full");
    row("export to a full disk", "export local --format csv --diary $D", 3, "/dev/full");
    row("help to a full disk", "list --help", 3, "/dev/full");
    // A diary another program holds locked for writing: the environment.
    row("restore into a locked diary", "restore $B --diary $D", 3);
    // No server: the environment, on standard error.
    row("list without server", "list local --server $S", 3);
    row("export without server", "export local --format ics --server $S", 3);
    row("find without server", "find x --server $S", 3);
    row("report without server",
        "report local --from 2027-01-01 --to 2027-01-02 --out $F/r.pdf --server $S", 3);
    row("server check without server", "server check $S", 3);
}

void TestCliContract::failures()
{
    QFETCH(QString, arguments);
    QFETCH(QString, standardOutput);
    QFETCH(int, exitCode);
    TempProgramFolder folder;
    openSampleDiary(folder.path());
    const QString diary = folder.filePath(QStringLiteral("Tarnalist.mdb"));
    const QString notDiary = folder.filePath(QStringLiteral("notes.mdb"));
    QFile notes(notDiary);
    QVERIFY(QFile::copy(diary, folder.filePath(QStringLiteral("copy.mdb"))));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write("not a diary, not a Jet file\n");
    notes.close();

    QStringList argv = arguments.split(QLatin1Char(' '));
    argv.replaceInStrings(QStringLiteral("$D"), diary);
    argv.replaceInStrings(QStringLiteral("$N"), notDiary);
    argv.replaceInStrings(QStringLiteral("$B"), folder.filePath(QStringLiteral("copy.mdb")));
    argv.replaceInStrings(QStringLiteral("$M"), folder.filePath(QStringLiteral("none.mdb")));
    argv.replaceInStrings(QStringLiteral("$F"), folder.path());
    argv.replaceInStrings(QStringLiteral("$S"), kNoServer);
    if (argv.first() == QLatin1String("report"))
        argv << QStringLiteral("--template") << kTemplate;
    const QStringList before = folderState(folder.path(), false);
    // Another program holding the diary in a write, when the row says so.
    std::shared_ptr<jet::Database> holder;
    if (QByteArray(QTest::currentDataTag()).contains("locked")) {
        holder = data::OpenDiaryDatabase(diary);
        holder->Execute(QStringLiteral("BEGIN IMMEDIATE"));
    }

    // A full standard output, argument bytes that are not UTF-8 and a diary locked by another
    // process need the program itself; the rest runs in process.
    const QByteArray tag = QTest::currentDataTag();
    CliResult run;
    if (standardOutput.isEmpty() && !tag.contains("UTF-8") && !tag.contains("locked")) {
        run = runCliInProcess(argv);
    } else {
        QProcess cli;
        if (!standardOutput.isEmpty())
            cli.setStandardOutputFile(standardOutput);
        if (tag.contains("UTF-8"))
            cli.start(
                QStringLiteral("/bin/sh"),
                QStringList{QStringLiteral("-c"),
                            QStringLiteral("exec \"$@\" \"$(printf '%s/caf\\351/x.csv' \"$0\")\""),
                            folder.path(), QStringLiteral(VELMORA_CLI)} +
                    argv);
        else
            cli.start(QStringLiteral(VELMORA_CLI), argv);
        QVERIFY(cli.waitForFinished(30000));
        run = {cli.exitCode(), cli.readAllStandardOutput(),
               QString::fromUtf8(cli.readAllStandardError())};
    }
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.startsWith(QLatin1String("velmora-cli ")) &&
                 run.err.count(QLatin1Char('\n')) == 1,
             qPrintable(run.err));
    QCOMPARE(run.out, QByteArray());
    if (tag.contains("UTF-8"))
        QVERIFY2(run.err.contains(QLatin1String("caf\\xe9/x.csv")), qPrintable(run.err));
    if (holder)
        holder->Execute(QStringLiteral("ROLLBACK"));
    holder.reset();
    QCOMPARE(folderState(folder.path(), false), before);
}

// What the tests run in process is what the program prints: the overview, every usage text.
void TestCliContract::inProcessRunsAsTheProgram_data()
{
    QTest::addColumn<QString>("arguments");
    for (const char* arguments : {"", "--help", "--version", "bogus", "add", "agenda", "backup",
                                  "change", "clashes", "delete", "deleted", "export", "find",
                                  "import", "list", "publish", "report", "restore", "server"})
        QTest::newRow(arguments) << QString::fromLatin1(arguments);
}

void TestCliContract::inProcessRunsAsTheProgram()
{
    QFETCH(QString, arguments);
    QStringList argv = arguments.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (argv.size() == 1 && !argv.first().startsWith(QLatin1Char('-')) && argv.first() != "bogus")
        argv << QStringLiteral("--help");
    const CliResult program = runCliProcess(argv);
    const CliResult inProcess = runCliInProcess(argv);
    QCOMPARE(inProcess.exitCode, program.exitCode);
    QCOMPARE(inProcess.out, program.out);
    QCOMPARE(inProcess.err, program.err);
}

QTEST_GUILESS_MAIN(TestCliContract)
#include "tst_cli_contract.moc"
