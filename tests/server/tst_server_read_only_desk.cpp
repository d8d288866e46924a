#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "SampleDiary.h"
#include "TestServer.h"
#include "platform/jet/Database.h"

// A desk whose role may only read the diary on the server: its calendar export carries the
// same UIDs as a desk that may write (and as the diary file it was laid out from), and it
// makes reports, staging in tables of its own; a role that may not read is told so.
class TestServerReadOnlyDesk : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { VELMORA_REQUIRE_TEST_SERVER(); }
    void exportsAndReportsAsAWritingDesk();
};

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

Run cli(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(VELMORA_CLI), arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), process.readAllStandardOutput(),
            QString::fromUtf8(process.readAllStandardError())};
}

QList<QByteArray> uids(const QByteArray& calendar)
{
    QList<QByteArray> found;
    for (const QByteArray& line : calendar.split('\n')) {
        if (line.startsWith("UID:"))
            found << line.trimmed();
    }
    std::sort(found.begin(), found.end());
    return found;
}

} // namespace

void TestServerReadOnlyDesk::exportsAndReportsAsAWritingDesk()
{
    QTemporaryDir folder;
    openSampleDiary(folder.path());
    const QString file = folder.filePath(QStringLiteral("Tarnalist.mdb"));
    const Run fromFile = cli({"export", "local", "--format", "ics", "--diary", file});
    QCOMPARE(fromFile.exitCode, 0);

    const QString writer = freshServerDatabase(QStringLiteral("velmora_read_only"));
    QCOMPARE(cli({"server", "init", writer, "--from-diary", file}).exitCode, 0);
    const auto admin = jet::Database::ConnectServer(writer);
    admin->Execute(QStringLiteral("DROP ROLE IF EXISTS velmora_reader"));
    admin->Execute(QStringLiteral("CREATE ROLE velmora_reader LOGIN"));
    admin->Execute(QStringLiteral("GRANT USAGE ON SCHEMA public TO velmora_reader"));
    admin->Execute(QStringLiteral("GRANT SELECT ON ALL TABLES IN SCHEMA public TO velmora_reader"));
    admin->Execute(QStringLiteral("DROP ROLE IF EXISTS velmora_blind"));
    admin->Execute(QStringLiteral("CREATE ROLE velmora_blind LOGIN"));
    admin->Execute(QStringLiteral("GRANT USAGE ON SCHEMA public TO velmora_blind"));
    QString reader = writer;
    reader.replace(QRegularExpression(QStringLiteral("user=\\S+")),
                   QStringLiteral("user=velmora_reader"));
    // A role that may not read at all is told that, as a failure of the environment.
    QString blind = reader;
    blind.replace(QStringLiteral("velmora_reader"), QStringLiteral("velmora_blind"));
    const Run refused = cli({"list", "local", "--server", blind});
    QCOMPARE(refused.exitCode, 3);
    QVERIFY2(refused.err.contains(QStringLiteral("may not read")), qPrintable(refused.err));

    for (const QString& desk : {writer, reader}) {
        const Run exported = cli({"export", "local", "--format", "ics", "--server", desk});
        QCOMPARE(exported.exitCode, 0);
        QCOMPARE(uids(exported.out), uids(fromFile.out));
        const Run report = cli({"report", "local", "--from", "2000-01-01", "--to", "2099-12-31",
                                "--out", folder.filePath(QStringLiteral("week.pdf")), "--server",
                                desk, "--template", VELMORA_RESOURCES_DIR "/rptlocal.rpt"});
        QVERIFY2(report.exitCode == 0, qPrintable(report.err));
    }
}

QTEST_GUILESS_MAIN(TestServerReadOnlyDesk)
#include "tst_server_read_only_desk.moc"
