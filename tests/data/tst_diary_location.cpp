// Where the diary lives: beside the program or in the user's own data folder.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "data/DiaryDatabase.h"
#include "data/DiaryLocation.h"
#include "data/ProgramFolder.h"
#include "platform/jet/Database.h"
#include "platform/jet/Recordset.h"

namespace {

uid_t nobody()
{
    const passwd* entry = ::getpwnam("nobody");
    return entry ? entry->pw_uid : 65534;
}

// Root may write any folder, so a test run as root asks as "nobody", who owns the test's files.
class AsUser {
public:
    AsUser() : m_root(::geteuid() == 0)
    {
        if (m_root)
            QVERIFY(::seteuid(nobody()) == 0);
    }
    ~AsUser()
    {
        if (m_root)
            QVERIFY(::seteuid(0) == 0);
    }

private:
    bool m_root;
};

int modeOf(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

// Made with `mode` and given to the user the test asks as.
void make(const QString& path, bool folder, int mode)
{
    QFile file(path);
    QVERIFY(folder ? QDir().mkpath(path) : file.open(QIODevice::WriteOnly));
    const QByteArray native = QFile::encodeName(path);
    QVERIFY(::chmod(native.constData(), mode_t(mode)) == 0);
    if (::geteuid() == 0)
        QVERIFY(::chown(native.constData(), nobody(), nobody()) == 0);
}

} // namespace

class TestDiaryLocation : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void diaryFolderFollowsTheInstall_data();
    void diaryFolderFollowsTheInstall();
    void prepareDiaryLeavesAnExistingDiaryAlone();

private:
    // An install under m_root: "own" is scripts/run.sh's folder with the help page beside the
    // program, "system" a bin/ whose help page lies in ../share/velmora.
    QString install(const QString& layout, bool writable, const QString& beside);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_root;
    QByteArray m_xdg, m_home;
};

void TestDiaryLocation::init()
{
    m_xdg = qgetenv("XDG_DATA_HOME");
    m_home = qgetenv("HOME");
    m_dir = std::make_unique<QTemporaryDir>();
    m_root = m_dir->path();
    make(m_root, true, 0755);
    make(m_root + QStringLiteral("/home"), true, 0755);
    qputenv("HOME", QFile::encodeName(m_root + QStringLiteral("/home")));
}

void TestDiaryLocation::cleanup()
{
    qputenv("XDG_DATA_HOME", m_xdg);
    if (m_xdg.isNull())
        qunsetenv("XDG_DATA_HOME");
    qputenv("HOME", m_home);
    data::setProgramFolder(QString());
    // A read-only program folder would keep its files from being removed.
    QDirIterator folders(m_root, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (folders.hasNext())
        ::chmod(QFile::encodeName(folders.next()).constData(), 0755);
    m_dir.reset();
}

QString TestDiaryLocation::install(const QString& layout, bool writable, const QString& beside)
{
    const bool system = layout == QLatin1String("system");
    const QString program =
        m_root + (system ? QStringLiteral("/usr/bin") : QStringLiteral("/Velmora"));
    const QString resources = system ? m_root + QStringLiteral("/usr/share/velmora") : program;
    make(program, true, 0755);
    make(resources, true, 0755);
    make(resources + QStringLiteral("/help.htm"), false, 0644);
    if (!beside.isEmpty())
        make(program + QLatin1Char('/') + beside, false, 0644);
    if (!writable)
        ::chmod(QFile::encodeName(program).constData(), 0555);
    data::setProgramFolder(program);
    return program;
}

void TestDiaryLocation::diaryFolderFollowsTheInstall_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("beside");   // a file already beside the program
    QTest::addColumn<QString>("xdg");      // XDG_DATA_HOME: "" unset, "data" absolute, "relative"
    QTest::addColumn<QString>("expected"); // "program", "data" or "home"
    struct Row {
        const char *name, *layout;
        bool writable;
        const char *beside, *xdg, *expected;
    };
    const Row rows[] = {
        {"own folder, writable", "own", true, "", "data", "program"},
        {"own folder, diary in other case", "own", true, "TARNALIST.MDB", "data", "program"},
        {"own folder read-only, XDG_DATA_HOME set", "own", false, "", "data", "data"},
        {"own folder read-only, XDG_DATA_HOME unset", "own", false, "", "", "home"},
        {"own folder read-only, relative XDG_DATA_HOME", "own", false, "", "relative", "home"},
        {"own folder read-only, diary beside", "own", false, "Tarnalist.mdb", "", "program"},
        {"system-wide, writable as by root", "system", true, "", "data", "data"},
        {"system-wide, XDG_DATA_HOME unset", "system", false, "", "", "home"},
        {"system-wide, diary beside", "system", false, "tarnalist.mdb", "", "program"},
        {"system-wide, server setting beside", "system", true, "velmora.conf", "data", "program"},
    };
    for (const Row& r : rows)
        QTest::newRow(r.name) << QString::fromLatin1(r.layout) << r.writable
                              << QString::fromLatin1(r.beside) << QString::fromLatin1(r.xdg)
                              << QString::fromLatin1(r.expected);
}

void TestDiaryLocation::diaryFolderFollowsTheInstall()
{
    QFETCH(QString, layout);
    QFETCH(bool, writable);
    QFETCH(QString, beside);
    QFETCH(QString, xdg);
    QFETCH(QString, expected);
    const QString program = install(layout, writable, beside);
    if (xdg.isEmpty())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", xdg == QLatin1String("relative")
                                     ? QByteArray("relative/data")
                                     : QFile::encodeName(m_root + QStringLiteral("/data")));
    const QString wanted = expected == QLatin1String("program") ? program
                           : expected == QLatin1String("data")
                               ? m_root + QStringLiteral("/data/Velmora")
                               : m_root + QStringLiteral("/home/.local/share/Velmora");

    QString folder, path;
    {
        AsUser user;
        folder = data::diaryFolder();
        path = data::diaryPath();
        data::prepareDiary();
    }
    QCOMPARE(folder, wanted);
    QCOMPARE(path, wanted + QStringLiteral("/Tarnalist.mdb"));
    const QString made = wanted + QStringLiteral("/Tarnalist.mdb");
    if (expected == QLatin1String("program")) {
        // Nothing is made for a diary beside the program: it is made at its first opening.
        QCOMPARE(QFile::exists(made), beside == QLatin1String("Tarnalist.mdb"));
        QVERIFY(!QFile::exists(m_root + QStringLiteral("/data")));
        QVERIFY(!QFile::exists(m_root + QStringLiteral("/home/.local")));
        return;
    }
    // The user's folder, and those made above it, are the user's alone; so is the new diary,
    // and it is a diary.
    QCOMPARE(modeOf(wanted), 0700);
    QCOMPARE(modeOf(QFileInfo(wanted).path()), 0700);
    QCOMPARE(modeOf(made), 0600);
    QVERIFY_THROWS_NO_EXCEPTION(
        data::OpenDiaryForReading(made)->OpenRecordset(QStringLiteral("SELECT sl_no FROM tour")));
    QVERIFY(!QFile::exists(program + QStringLiteral("/Tarnalist.mdb")));
}

void TestDiaryLocation::prepareDiaryLeavesAnExistingDiaryAlone()
{
    install(QStringLiteral("system"), false, QString());
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_root + QStringLiteral("/data")));
    const QString folder = m_root + QStringLiteral("/data/Velmora");
    make(folder, true, 0755);
    make(folder + QStringLiteral("/tarnalist.MDB"), false, 0640);
    {
        AsUser user;
        data::prepareDiary();
    }
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("tarnalist.MDB")});
    QCOMPARE(modeOf(folder + QStringLiteral("/tarnalist.MDB")), 0640);
    QCOMPARE(modeOf(folder), 0755);
}

QTEST_GUILESS_MAIN(TestDiaryLocation)
#include "tst_diary_location.moc"
