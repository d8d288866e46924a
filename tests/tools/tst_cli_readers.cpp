// Commands that only read leave the diary byte for byte and nothing beside it, on the program's
// own diaries and on files other programs made; a file that is not a diary, or a damaged one,
// is refused by every command before anything is written to it. Two users of one folder: what
// one user's read leaves never locks the owner out.
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include "CliInProcess.h"
#include "FolderState.h"
#include "SampleDiary.h"
#include "TempProgramFolder.h"
#include "data/DiarySchema.h"
#include "platform/jet/Database.h"

class TestCliReaders : public QObject {
    Q_OBJECT

private slots:
    void commandsLeaveTheFileAsItWas_data();
    void commandsLeaveTheFileAsItWas();
    void anotherUsersReadNeverLocksTheOwnerOut();
};

namespace {

enum class Kind { OwnDiary, OtherProgramsDiary, ForeignFile, DamagedDiary };

void runSql(const QString& file, const QStringList& statements)
{
    QProcess sqlite;
    sqlite.start(QStringLiteral("sqlite3"), {file});
    QVERIFY(sqlite.waitForStarted());
    sqlite.write(statements.join(QStringLiteral(";\n")).toUtf8() + ";\n");
    sqlite.closeWriteChannel();
    QVERIFY(sqlite.waitForFinished());
    QCOMPARE(sqlite.exitCode(), 0);
}

// The diary `kind` as `path`, closed.
void makeFile(Kind kind, const QString& folder, const QString& path)
{
    switch (kind) {
    case Kind::OwnDiary: openSampleDiary(folder); break;
    case Kind::DamagedDiary: {
        // Made apart and copied in: this process checks a diary's pages once per path, and the
        // command, run in this process, must check the damaged copy.
        QTemporaryDir apart;
        openSampleDiary(apart.path());
        QVERIFY(QFile::copy(apart.filePath(QStringLiteral("Tarnalist.mdb")), path));
        break;
    }
    case Kind::OtherProgramsDiary: {
        // Another tool's copy: the same tables, the sample's rows, a rollback journal.
        QFile sample(sampleDiarySqlPath());
        QVERIFY(sample.open(QIODevice::ReadOnly));
        runSql(path, data::diarySchemaStatements() +
                         QStringList{QString::fromUtf8(sample.readAll()).trimmed().chopped(1)});
        break;
    }
    case Kind::ForeignFile:
        runSql(path, {QStringLiteral("CREATE TABLE notes (line TEXT)"),
                      QStringLiteral("INSERT INTO notes VALUES ('not a diary')")});
        break;
    }
    if (kind == Kind::DamagedDiary) {
        // A run of pages in the middle overwritten, the header and schema left whole.
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.seek(file.size() / 2));
        file.write(QByteArray(8192, '\x5a'));
    }
}

} // namespace

void TestCliReaders::commandsLeaveTheFileAsItWas_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<QList<int>>("exitCodes"); // any of these
    const QStringList readers = {"list local",
                                 "list tour --from 2027-01-01",
                                 "find ಸಭೆ",
                                 "agenda --from 2027-03-01 --days 7",
                                 "clashes",
                                 "export local --format csv",
                                 "export tour --format ics",
                                 "deleted list local"};
    const QStringList writers = {
        "report local --from 2027-01-01 --to 2027-12-31 --out $F/r.pdf",
        "add local --date 2031-01-01 --time 10:00 --subject ಸಭೆ --venue ಊರು", "delete local 1",
        "backup --to $F/copy.mdb"};
    const struct {
        const char* name;
        Kind kind;
    } kinds[] = {{"own diary", Kind::OwnDiary},
                 {"another program's diary", Kind::OtherProgramsDiary},
                 {"not a diary", Kind::ForeignFile},
                 {"damaged", Kind::DamagedDiary}};
    for (const auto& k : kinds) {
        const bool diary = k.kind == Kind::OwnDiary || k.kind == Kind::OtherProgramsDiary;
        for (const QString& command : readers)
            QTest::newRow(qPrintable(QStringLiteral("%1: %2").arg(k.name, command)))
                << k.kind << command
                << (diary                         ? QList<int>{0, 1}
                    : k.kind == Kind::ForeignFile ? QList<int>{2}
                                                  : QList<int>{0, 1, 2, 3});
        if (!diary) // a writer refuses before writing
            for (const QString& command : writers)
                QTest::newRow(qPrintable(QStringLiteral("%1: %2").arg(k.name, command)))
                    << k.kind << command << QList<int>{2, 3};
    }
}

void TestCliReaders::commandsLeaveTheFileAsItWas()
{
    QFETCH(Kind, kind);
    QFETCH(QString, arguments);
    QFETCH(QList<int>, exitCodes);
    TempProgramFolder folder;
    QTemporaryDir outputs;
    const QString diary = folder.filePath(QStringLiteral("Tarnalist.mdb"));
    makeFile(kind, folder.path(), diary);
    const QStringList before = folderState(folder.path());
    QVERIFY(!before.isEmpty());

    QStringList argv = arguments.split(QLatin1Char(' '));
    argv.replaceInStrings(QStringLiteral("$F"), outputs.path());
    const CliResult run = runCliInProcess(
        argv +
            QStringList{QStringLiteral("--template"),
                        QStringLiteral(VELMORA_RESOURCES_DIR "/rptlocal.rpt")}
                .mid(arguments.startsWith(QLatin1String("report")) ? 0 : 2) +
            QStringList{QStringLiteral("--diary"), diary},
        {{"XDG_CACHE_HOME", QFile::encodeName(outputs.filePath(QStringLiteral("cache")))}});
    QVERIFY2(exitCodes.contains(run.exitCode), qPrintable(run.err));
    QCOMPARE(folderState(folder.path()), before);
    if (!exitCodes.contains(0)) // refused: nothing written anywhere
        QVERIFY(QDir(outputs.path()).entryList(QDir::Files).isEmpty());
}

void TestCliReaders::anotherUsersReadNeverLocksTheOwnerOut()
{
    if (::geteuid() != 0 || QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        QSKIP("Needs root and setpriv to act as two users of the machine.");
    // A folder both may write; the diary is its owner's (daemon) alone.
    QTemporaryDir shared;
    QVERIFY(::chmod(QFile::encodeName(shared.path()).constData(), 0777) == 0);
    openSampleDiary(shared.path());
    const QString diary = shared.filePath(QStringLiteral("Tarnalist.mdb"));
    const QByteArray name = QFile::encodeName(diary);
    QVERIFY(::chown(name.constData(), 1, 1) == 0 && ::chmod(name.constData(), 0644) == 0);
    // By number: daemon (1) owns the diary, nobody (65534) only reads it.
    const auto as = [&](int user, const QStringList& arguments) {
        QProcess cli;
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("HOME"), shared.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        cli.setProcessEnvironment(environment);
        cli.start(QStringLiteral("setpriv"),
                  QStringList{QStringLiteral("--reuid=%1").arg(user),
                              QStringLiteral("--regid=%1").arg(user),
                              QStringLiteral("--clear-groups"), QStringLiteral(VELMORA_CLI)} +
                      arguments + QStringList{QStringLiteral("--diary"), diary});
        cli.waitForFinished(60000);
        if (cli.exitCode() != 0)
            qWarning("%s", cli.readAllStandardError().constData());
        return cli.exitCode();
    };
    const QString wal = diary + QStringLiteral("-wal");
    const QString shm = diary + QStringLiteral("-shm");
    // The other user reads: nothing of theirs stays behind.
    QCOMPARE(as(65534, {QStringLiteral("list"), QStringLiteral("local")}), 0);
    QVERIFY(!QFile::exists(wal) && !QFile::exists(shm));
    // Journal files an older copy left, which the owner cannot write: taken away once unused.
    for (const QString& file : {wal, shm}) {
        QFile made(file);
        QVERIFY(made.open(QIODevice::WriteOnly));
        if (file == shm)
            made.write(QByteArray(32768, '\0'));
        made.close();
        QVERIFY(::chown(QFile::encodeName(file).constData(), 65534, 65534) == 0);
    }
    QCOMPARE(as(1, {QStringLiteral("delete"), QStringLiteral("local"), QStringLiteral("1")}), 0);
    QCOMPARE(as(65534, {QStringLiteral("list"), QStringLiteral("local")}), 0);
}

QTEST_GUILESS_MAIN(TestCliReaders)
#include "tst_cli_readers.moc"
