#include <dirent.h>
#include <signal.h>
#include <algorithm>
#include <optional>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QtTest>

#include "CliInProcess.h"
#include "MountedFolder.h"
#include "SampleDiary.h"
#include "TempProgramFolder.h"
#include "platform/jet/Database.h"

// What velmora-cli writes can never cost the diary: every writer refuses a target that is the
// diary (or linked to it), its journal, or not a plain file, with exit 2 and nothing written
// (a disk full while writing is exit 3, nothing written either);
// a killed writer's temporary file is gone after the next run into that folder; copies of the
// diary are as private as the diary; a name that is not UTF-8 is used byte for byte.
class TestCliOutputs : public QObject {
    Q_OBJECT

private slots:
    void refusesTargets_data();
    void refusesTargets();
    void refusesInputsThatAreNotFiles_data();
    void refusesInputsThatAreNotFiles();
    void killedWritersLeaveNothing_data();
    void killedWritersLeaveNothing();
    void copiesAreAsPrivateAsTheDiary();
    void reportsADiaryThatCanOnlyBeRead();
    void usesNamesAsTheirBytes_data();
    void usesNamesAsTheirBytes();
};

namespace {

const QString kLegacy = QStringLiteral(VELMORA_SHARED_DIR "/legacy/diary-jet4.mdb");

QByteArray checksum(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// The writer's arguments with its output at `target` and the diary at `diary`.
QStringList writerArguments(const QString& writer, const QString& target, const QString& diary)
{
    if (writer == QLatin1String("report"))
        return {"report",  "local",      "--from",     "2000-01-01",
                "--to",    "2099-12-31", "--out",      target,
                "--diary", diary,        "--template", VELMORA_RESOURCES_DIR "/rptlocal.rpt"};
    if (writer == QLatin1String("export"))
        return {"export", "local", "--format", "ics", "--out", target, "--diary", diary};
    if (writer == QLatin1String("backup"))
        return {"backup", "--diary", diary, "--to", target};
    return {"import", kLegacy, "--diary", target}; // the new diary is the output
}

// What is in `folder`, as the system names it.
QList<QByteArray> entryBytes(const QByteArray& folder)
{
    QList<QByteArray> names;
    if (DIR* dir = ::opendir(folder.constData())) {
        while (const dirent* entry = ::readdir(dir)) {
            if (qstrcmp(entry->d_name, ".") != 0 && qstrcmp(entry->d_name, "..") != 0)
                names << QByteArray(entry->d_name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

QStringList temporaries(const QString& folder)
{
    return QDir(folder).entryList(QStringList{QStringLiteral("*.velmora-*")},
                                  QDir::Files | QDir::Hidden | QDir::System);
}

} // namespace

void TestCliOutputs::refusesTargets_data()
{
    QTest::addColumn<QString>("writer");
    QTest::addColumn<QString>("target");
    for (const char* writer : {"report", "export", "backup", "import"}) {
        for (const char* target :
             {"the diary", "a link to it", "a hard link to it", "its -wal", "a folder", "a FIFO",
              "a device", "in a missing folder", "in a read-only folder", "in a full folder"})
            QTest::addRow("%s to %s", writer, target) << writer << target;
    }
}

void TestCliOutputs::refusesTargets()
{
    QFETCH(QString, writer);
    QFETCH(QString, target);
    TempProgramFolder folder;
    openSampleDiary(folder.path());
    const QString diary = folder.filePath(QStringLiteral("Tarnalist.mdb"));
    const QByteArray before = checksum(diary);
    QVERIFY(!before.isEmpty());
    const QByteArray diaryName = QFile::encodeName(diary);

    QString path = folder.filePath(QStringLiteral("out.file"));
    const QByteArray name = QFile::encodeName(path);
    if (target == QLatin1String("the diary"))
        path = diary;
    else if (target == QLatin1String("a link to it"))
        QVERIFY(::symlink(diaryName.constData(), name.constData()) == 0);
    else if (target == QLatin1String("a hard link to it"))
        QVERIFY(::link(diaryName.constData(), name.constData()) == 0);
    else if (target == QLatin1String("its -wal"))
        path = diary + QStringLiteral("-wal");
    else if (target == QLatin1String("a folder"))
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("out.file")));
    else if (target == QLatin1String("a FIFO"))
        QVERIFY(::mkfifo(name.constData(), 0644) == 0);
    else if (target == QLatin1String("a device")) {
        if (::mknod(name.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
            QSKIP("making a device node needs root");
    } else if (target == QLatin1String("in a missing folder"))
        path = folder.filePath(QStringLiteral("none/out.file"));
    std::optional<MountedFolder> mounted;
    if (target == QLatin1String("in a read-only folder") ||
        target == QLatin1String("in a full folder")) {
        const bool full = target == QLatin1String("in a full folder");
        mounted.emplace(folder.filePath(QStringLiteral("mounted")),
                        full ? MountedFolder::Kind::Full : MountedFolder::Kind::ReadOnly);
        if (!mounted->active())
            QSKIP("this machine cannot make such a folder");
        if (full) { // filled but for a few bytes, so the writer starts and then fails
            QFile filler(folder.filePath(QStringLiteral("mounted/filler")));
            QVERIFY(filler.open(QIODevice::WriteOnly));
            filler.write(QByteArray(15 * 1024, 'x'));
        }
        path = folder.filePath(QStringLiteral("mounted/out.file"));
    }

    // A FIFO would block a writer that failed to refuse it: only a process can be stopped.
    const QStringList arguments = writerArguments(writer, path, diary);
    const CliResult run =
        target == QLatin1String("a FIFO") ? runCliProcess(arguments) : runCliInProcess(arguments);
    QVERIFY2(run.exitCode != -1, "the writer blocked");
    // A refused target is bad input; a disk that fills while writing is the environment.
    QCOMPARE(run.exitCode, target == QLatin1String("in a full folder") ? 3 : 2);
    QVERIFY2(run.err.trimmed().count(QLatin1Char('\n')) == 0 && !run.err.trimmed().isEmpty(),
             qPrintable(run.err));
    if (mounted && target == QLatin1String("in a full folder")) {
        // The run got as far as writing (a report stages its rows first): nothing half-made.
        QVERIFY(!QFileInfo::exists(path));
    } else {
        QCOMPARE(checksum(diary), before);
    }
    QCOMPARE(temporaries(folder.path()), QStringList());
    QCOMPARE(temporaries(folder.filePath(QStringLiteral("mounted"))), QStringList());
}

void TestCliOutputs::refusesInputsThatAreNotFiles_data()
{
    QTest::addColumn<QStringList>("arguments"); // $P is a FIFO, $D the diary
    QTest::newRow("diary of list") << QStringList{"list", "local", "--diary", "$P"};
    QTest::newRow("diary of export")
        << QStringList{"export", "tour", "--format", "csv", "--diary", "$P"};
    QTest::newRow("template of report")
        << QStringList{"report", "local",    "--from",  "2027-01-01", "--to",       "2027-01-02",
                       "--out",  "$F/r.pdf", "--diary", "$D",         "--template", "$P"};
    QTest::newRow("Jet file of import") << QStringList{"import", "$P", "--diary", "$F/new.mdb"};
    QTest::newRow("backup of restore") << QStringList{"restore", "$P", "--diary", "$D"};
}

void TestCliOutputs::refusesInputsThatAreNotFiles()
{
    QFETCH(QStringList, arguments);
    TempProgramFolder folder;
    openSampleDiary(folder.path());
    const QString diary = folder.filePath(QStringLiteral("Tarnalist.mdb"));
    const QString fifo = folder.filePath(QStringLiteral("pipe"));
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0644) == 0);
    arguments.replaceInStrings(QStringLiteral("$P"), fifo);
    arguments.replaceInStrings(QStringLiteral("$D"), diary);
    arguments.replaceInStrings(QStringLiteral("$F"), folder.path());
    const QByteArray before = checksum(diary);
    const CliResult run = runCliProcess(arguments);
    QVERIFY2(run.exitCode != -1, "a FIFO blocked the reader");
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(QStringLiteral("pipe")), qPrintable(run.err));
    QCOMPARE(checksum(diary), before);
}

void TestCliOutputs::killedWritersLeaveNothing_data()
{
    QTest::addColumn<QString>("writer");
    QTest::addColumn<int>("killAfterMs");
    int after = 0;
    for (const char* writer : {"report", "export", "backup", "import"}) {
        QTest::addRow("%s", writer) << writer << after;
        after += 15;
    }
}

// The kill lands anywhere in the run; a leftover named by that process is planted as well, so
// each row proves the next run's clean-up whatever the kill hit.
void TestCliOutputs::killedWritersLeaveNothing()
{
    QFETCH(QString, writer);
    QFETCH(int, killAfterMs);
    TempProgramFolder folder;
    openSampleDiary(folder.path());
    const QString diary = folder.filePath(QStringLiteral("Tarnalist.mdb"));
    const QString out = folder.filePath(QStringLiteral("out/Output.mdb"));
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("out")));

    QProcess killed;
    killed.start(QStringLiteral(VELMORA_CLI), writerArguments(writer, out, diary));
    QVERIFY(killed.waitForStarted());
    const qint64 pid = killed.processId();
    // No event loop meanwhile: the process stays unreaped, so the pid is still its own.
    ::usleep(useconds_t(killAfterMs) * 1000);
    ::kill(pid_t(pid), SIGKILL);
    QVERIFY(killed.waitForFinished());
    QFile leftover(folder.filePath(
        QStringLiteral("out/.Output.mdb.velmora-%1-0badf00d.tmp-journal").arg(pid)));
    QVERIFY(leftover.open(QIODevice::WriteOnly));
    leftover.close();

    QFile::remove(out);
    const CliResult next = runCliProcess(writerArguments(writer, out, diary));
    QCOMPARE(next.exitCode, 0);
    QCOMPARE(temporaries(folder.filePath(QStringLiteral("out"))), QStringList());
}

void TestCliOutputs::copiesAreAsPrivateAsTheDiary()
{
    TempProgramFolder folder;
    openSampleDiary(folder.path());
    const QString diary = folder.filePath(QStringLiteral("Tarnalist.mdb"));
    QVERIFY(::chmod(QFile::encodeName(diary).constData(), 0600) == 0);
    const mode_t umaskBefore = ::umask(022);
    const QString copy = folder.filePath(QStringLiteral("copy.mdb"));
    const QString csv = folder.filePath(QStringLiteral("local.csv"));
    const CliResult backup = runCliInProcess({"backup", "--diary", diary, "--to", copy});
    const CliResult exported =
        runCliInProcess({"export", "local", "--format", "csv", "--out", csv, "--diary", diary});
    ::umask(umaskBefore);
    QCOMPARE(backup.exitCode, 0);
    QCOMPARE(exported.exitCode, 0);
    const auto bits = [](const QString& path) {
        struct stat st {};
        ::stat(QFile::encodeName(path).constData(), &st);
        return int(st.st_mode & 0777);
    };
    QCOMPARE(bits(copy), 0600);
    QCOMPARE(bits(csv), 0644); // a document: the umask decides
}

// Staged in a temporary table of the report's own connection: the file is not touched.
void TestCliOutputs::reportsADiaryThatCanOnlyBeRead()
{
    TempProgramFolder folder;
    const QString shelf = folder.filePath(QStringLiteral("shelf"));
    QVERIFY(QDir().mkpath(shelf));
    openSampleDiary(shelf);
    const QString diary = shelf + QStringLiteral("/Tarnalist.mdb");
    const QByteArray before = checksum(diary);
    MountedFolder readOnly(shelf, MountedFolder::Kind::ReadOnly);
    if (!readOnly.active())
        QSKIP("this machine cannot make a read-only folder");
    const QString pdf = folder.filePath(QStringLiteral("week.pdf"));
    const CliResult run = runCliInProcess(writerArguments(QStringLiteral("report"), pdf, diary));
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY(QFileInfo(pdf).size() > 0);
    QCOMPARE(checksum(diary), before);
}

void TestCliOutputs::usesNamesAsTheirBytes_data()
{
    // @ is the name that is not UTF-8, $D the diary, $F the folder; `planted` is what lies at
    // @ before the run, `made` the one entry the run adds.
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<QString>("planted");
    QTest::addColumn<QByteArray>("made");
    const QString report = QStringLiteral("report local --from 2000-01-01 --to 2099-12-31 "
                                          "--template " VELMORA_RESOURCES_DIR "/rptlocal.rpt");
    const struct {
        const char* tag;
        QString arguments;
        const char* planted;
        const char* made;
    } rows[] = {
        {"list the diary", "list local --diary @", "diary", ""},
        {"back up to", "backup --diary $D --to @", "", "@"},
        {"export to", "export local --format csv --diary $D --out @", "", "@"},
        {"report to", report + " --diary $D --out @", "", "@"},
        {"restore from", "restore @ --diary $D", "backup", "backups"},
        {"import from", "import @ --diary $F/new.mdb", "jet", "new.mdb"},
        {"import into", "import " + kLegacy + " --diary @", "", "@"},
    };
    // A long name fits in 255 bytes, its temporary name only when cut (the cut falling inside
    // a letter).
    const QByteArray longName = QString(80, QChar(0x0C95)).toUtf8() + '\xff';
    for (const QByteArray& name : {QByteArray("\xff\xfe"), QByteArray("caf\xe9"), longName}) {
        for (const auto& row : rows)
            QTest::addRow("%s %s", row.tag, name.left(4).toHex().constData())
                << name << row.arguments << QString::fromLatin1(row.planted)
                << (qstrcmp(row.made, "@") == 0 ? name : QByteArray(row.made));
    }
}

void TestCliOutputs::usesNamesAsTheirBytes()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, arguments);
    QFETCH(QString, planted);
    QFETCH(QByteArray, made);
    TempProgramFolder folder;
    openSampleDiary(folder.path());
    const QString diary = folder.filePath(QStringLiteral("Tarnalist.mdb"));
    const QByteArray where = QFile::encodeName(folder.path());
    const QByteArray path = where + '/' + name;
    const auto removeIt = qScopeGuard([&path] { ::unlink(path.constData()); });
    const QString source = planted == QLatin1String("jet") ? kLegacy : diary;
    const QString copy = folder.filePath(QStringLiteral("planted"));
    if (planted == QLatin1String("diary"))
        QVERIFY(::rename(QFile::encodeName(diary).constData(), path.constData()) == 0);
    else if (!planted.isEmpty())
        QVERIFY(QFile::copy(source, copy) &&
                ::rename(QFile::encodeName(copy).constData(), path.constData()) == 0);
    const QList<QByteArray> before = entryBytes(where);

    // The shell hands the name over as bytes: a QString argument could not carry it.
    QString format;
    for (const char byte : path)
        format += QStringLiteral("\\%1").arg(uint(uchar(byte)), 3, 8, QLatin1Char('0'));
    QStringList argv = arguments.split(QLatin1Char(' '));
    argv.replaceInStrings(QStringLiteral("$D"), diary);
    argv.replaceInStrings(QStringLiteral("$F"), folder.path());
    QProcess cli;
    cli.start(QStringLiteral("/bin/sh"),
              QStringList{QStringLiteral("-c"),
                          QStringLiteral("n=$(printf \"$0\"); for a; do shift; [ \"$a\" = @ ] && "
                                         "a=$n; set -- \"$@\" \"$a\"; done; exec \"$@\""),
                          format, QStringLiteral(VELMORA_CLI)} +
                  argv);
    QVERIFY(cli.waitForFinished(30000));
    QVERIFY2(cli.exitCode() == 0, cli.readAllStandardError().constData());

    QList<QByteArray> expected = before;
    if (!made.isEmpty())
        expected << made;
    std::sort(expected.begin(), expected.end());
    QCOMPARE(entryBytes(where), expected);
    struct stat st {};
    QVERIFY(::stat(path.constData(), &st) == 0 && st.st_size > 0);
}

QTEST_GUILESS_MAIN(TestCliOutputs)
#include "tst_cli_outputs.moc"
