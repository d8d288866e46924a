#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include "CliInProcess.h"
#include "SampleDiary.h"
#include "TempProgramFolder.h"
#include "export/DiaryExport.h"
#include "platform/jet/Database.h"
#include "publish/CalDavClient.h"
#include "platform/files/ProgramSettings.h"
#include "publish/PublishRun.h"
#include "publish/PublishSchedule.h"
#include "publish/PublishState.h"

namespace {

const QString kPassword = QStringLiteral("Pa55-w0rd-of-the-office");

QSet<QString> uidsIn(const QByteArray& calendar)
{
    QSet<QString> uids;
    static const QRegularExpression uid(QStringLiteral("^UID:([^\r\n]*)"),
                                        QRegularExpression::MultilineOption);
    for (const auto& match : uid.globalMatch(QString::fromUtf8(calendar)))
        uids.insert(match.captured(1));
    return uids;
}

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

} // namespace

// Steps in order against one server and one diary; after each the collection holds exactly the
// export's UIDs, besides what someone else put there.
class TestPublish : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void firstPublishSendsEveryRecord();
    void secondPublishWritesNothing();
    void changeDeletionAndAdditionWriteThree();
    void othersObjectsAndChangesOnTheServer();
    void lostStateIsPutRight();
    void failuresExitWithTheirStatus_data();
    void failuresExitWithTheirStatus();
    void scheduleRecordsItsPublishOrFailure();

private:
    QString collectionFolder() const { return m_dir.filePath("store/collection-root/office/cal"); }
    void writeNetrc(const QString& password, QFile::Permissions permissions) const;
    publish::PublishOutcome publishNow() const;
    void runCli(const QStringList& arguments) const;
    QSet<QString> exportUids() const;
    QHash<QString, QString> serverFiles() const; // file name -> UID
    void verifyCollection() const;

    QTemporaryDir m_dir;
    TempProgramFolder m_program;
    QString m_diary;
    QProcess m_radicale;
    QString m_url;
};

void TestPublish::initTestCase()
{
    const QString radicale = QStandardPaths::findExecutable(QStringLiteral("radicale"));
    if (radicale.isEmpty())
        QSKIP("radicale is not installed (scripts/deps.sh installs it): no CalDAV server to test");
    qputenv("HOME", m_dir.filePath("home").toUtf8());
    qputenv("XDG_STATE_HOME", m_dir.filePath("state").toUtf8());
    qputenv("TZ", "Asia/Kolkata");
    QVERIFY(QDir().mkpath(m_dir.filePath("home")) && QDir().mkpath(collectionFolder()));
    writeNetrc(kPassword, QFile::ReadOwner | QFile::WriteOwner);
    QFile users(m_dir.filePath("htpasswd"));
    QVERIFY(users.open(QIODevice::WriteOnly) && users.write("office:" + kPassword.toUtf8() + "\n"));
    users.close();
    // The collection made as Radicale's own storage lays one out.
    QFile props(collectionFolder() + "/.Radicale.props");
    QVERIFY(props.open(QIODevice::WriteOnly) && props.write(R"({"tag": "VCALENDAR"})"));
    props.close();

    const quint16 port = freePort();
    QFile config(m_dir.filePath("radicale.conf"));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write(QStringLiteral("[server]\nhosts = 127.0.0.1:%1\n[auth]\ntype = htpasswd\n"
                                "htpasswd_filename = %2\nhtpasswd_encryption = plain\n"
                                "[storage]\nfilesystem_folder = %3\n")
                     .arg(port)
                     .arg(users.fileName(), m_dir.filePath("store"))
                     .toUtf8());
    config.close();
    m_radicale.setProcessChannelMode(QProcess::MergedChannels);
    m_radicale.start(radicale, {QStringLiteral("--config"), config.fileName()});
    bool up = false;
    for (int attempt = 0; attempt < 100 && !up && m_radicale.state() != QProcess::NotRunning;
         ++attempt) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        up = socket.waitForConnected(200);
        if (!up)
            QTest::qWait(100);
    }
    if (!up)
        QSKIP(qPrintable("radicale did not start: " + m_radicale.readAll()));
    m_url = QStringLiteral("http://127.0.0.1:%1/office/cal/").arg(port);
    openSampleDiary(m_program.path());
    m_diary = m_program.diaryPath();
}

void TestPublish::cleanupTestCase()
{
    m_radicale.terminate();
    m_radicale.waitForFinished();
}

void TestPublish::writeNetrc(const QString& password, QFile::Permissions permissions) const
{
    QFile netrc(m_dir.filePath("home/.netrc"));
    QVERIFY(netrc.open(QIODevice::WriteOnly | QIODevice::Truncate));
    netrc.write("machine 127.0.0.1\n  login office\n  password \"" + password.toUtf8() + "\"\n");
    QVERIFY(netrc.setPermissions(permissions));
}

publish::PublishOutcome TestPublish::publishNow() const
{
    return publish::publishDiary(
        {publish::checkedCollectionUrl(m_url), data::everyRegister(), m_diary});
}

void TestPublish::runCli(const QStringList& arguments) const
{
    const CliResult run = runCliInProcess(arguments + QStringList{"--diary", m_diary});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
}

QSet<QString> TestPublish::exportUids() const
{
    QSet<QString> uids;
    for (const char* which : {"local", "outstation", "tour"}) {
        const CliResult run =
            runCliInProcess({"export", which, "--format", "ics", "--diary", m_diary});
        uids.unite(uidsIn(run.out));
    }
    return uids;
}

QHash<QString, QString> TestPublish::serverFiles() const
{
    QHash<QString, QString> files;
    for (const QString& name : QDir(collectionFolder()).entryList({"*.ics"}, QDir::Files)) {
        QFile file(collectionFolder() + '/' + name);
        file.open(QIODevice::ReadOnly);
        const QSet<QString> uids = uidsIn(file.readAll());
        files.insert(name, uids.size() == 1 ? *uids.begin() : QString());
    }
    return files;
}

void TestPublish::verifyCollection() const
{
    QSet<QString> velmoras;
    for (const auto& [name, uid] : serverFiles().asKeyValueRange())
        if (name.startsWith("velmora-")) {
            QCOMPARE(name, uid + ".ics");
            velmoras.insert(uid);
        }
    QCOMPARE(velmoras, exportUids());
}

void TestPublish::firstPublishSendsEveryRecord()
{
    const publish::PublishOutcome first = publishNow();
    QCOMPARE(first.sent, 110);
    QCOMPARE(first.writingRequests, 110);
    verifyCollection();
    QFile event(collectionFolder() + '/' + serverFiles().keys().first());
    QVERIFY(event.open(QIODevice::ReadOnly));
    const QByteArray text = event.readAll();
    QVERIFY(text.contains("TZID:Asia/Kolkata") && text.contains(";TZID=Asia/Kolkata:"));
    QVERIFY(text.contains("CATEGORIES:") && !text.contains("X-LIC-ERROR"));
}

void TestPublish::secondPublishWritesNothing()
{
    const publish::PublishOutcome again = publishNow();
    QCOMPARE(again.writingRequests, 0);
    QCOMPARE(again.unchanged, 110);
    QVERIFY(publish::alreadyPublished(publish::checkedCollectionUrl(m_url),
                                      publish::diaryObjects(m_diary, data::everyRegister())));
    verifyCollection();
}

// A deletion renumbers the tours after it: only the deleted record's object goes.
void TestPublish::changeDeletionAndAdditionWriteThree()
{
    runCli({"change", "local", "2", "--subject", QStringLiteral(u"ಹೊಸ ವಿಷಯ")});
    runCli({"delete", "tour", "3"});
    runCli({"add", "outstation", "--date", "2031-05-05", "--time", "11:00", "--subject",
            QStringLiteral(u"ಸಭೆ"), "--venue", QStringLiteral(u"ಧಾರವಾಡ"), "--allow-clash"});
    const publish::PublishOutcome changed = publishNow();
    QCOMPARE(changed.writingRequests, 3);
    QCOMPARE(changed.sent + changed.deleted, 3);
    verifyCollection();
}

// Someone else's event stays; a Velmora event changed on the server is put back as the diary
// has it.
void TestPublish::othersObjectsAndChangesOnTheServer()
{
    QFile foreign(collectionFolder() + "/someone-else.ics");
    QVERIFY(foreign.open(QIODevice::WriteOnly));
    foreign.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Other//EN\r\nBEGIN:VEVENT\r\n"
                  "UID:someone-else\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20240101T100000Z\r\n"
                  "SUMMARY:Theirs\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
    foreign.close();
    const QString mine = serverFiles().key(*exportUids().begin());
    QFile event(collectionFolder() + '/' + mine);
    QVERIFY(event.open(QIODevice::ReadWrite));
    const QByteArray original = event.readAll();
    QByteArray changed = original;
    changed.replace("SUMMARY:", "SUMMARY:changed ");
    event.resize(0);
    event.write(changed);
    event.close();

    const publish::PublishOutcome again = publishNow();
    QCOMPARE(again.writingRequests, 1);
    QVERIFY(foreign.exists());
    QVERIFY(event.open(QIODevice::ReadOnly));
    QVERIFY(!event.readAll().contains("SUMMARY:changed"));
    verifyCollection();
}

// With the state gone and an object missing, one publish restores the collection without a
// duplicate, and the one after writes nothing.
void TestPublish::lostStateIsPutRight()
{
    QVERIFY(QDir(m_dir.filePath("state")).removeRecursively());
    QVERIFY(QFile::remove(collectionFolder() + '/' + serverFiles().keys().first()));
    publishNow();
    verifyCollection();
    QCOMPARE(publishNow().writingRequests, 0);
}

void TestPublish::failuresExitWithTheirStatus_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("permissions");
    QTest::addColumn<int>("exitCode");
    const int own = int(QFile::ReadOwner | QFile::WriteOwner);
    const QString closed = QStringLiteral("http://127.0.0.1:%1/office/cal/").arg(freePort());
    const QString base = m_url.left(m_url.indexOf("/office/"));
    QTest::newRow("wrong password") << m_url << "not-" + kPassword << own << 3;
    QTest::newRow("unreachable") << closed << kPassword << own << 3;
    QTest::newRow(".netrc others read") << m_url << kPassword << (own | int(QFile::ReadOther)) << 3;
    QTest::newRow("not http") << "ftp://127.0.0.1/office/cal/" << kPassword << own << 2;
    QTest::newRow("no collection") << base + "/office/none/" << kPassword << own << 2;
    QTest::newRow("not a calendar") << base + "/office/" << kPassword << own << 2;
}

void TestPublish::failuresExitWithTheirStatus()
{
    QFETCH(QString, url);
    QFETCH(QString, password);
    QFETCH(int, permissions);
    QFETCH(int, exitCode);
    writeNetrc(password, QFile::Permissions(permissions));
    const CliResult run = runCliInProcess({"publish", "--to", url, "--diary", m_diary});
    writeNetrc(kPassword, QFile::ReadOwner | QFile::WriteOwner);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.count('\n') == 1 && run.err.contains(url.left(url.indexOf("/office"))),
             qPrintable(run.err));
    QVERIFY(!run.err.contains(kPassword) && !run.out.contains(kPassword.toUtf8()));
    verifyCollection();
}

// The background program's schedule: publishes at its start (the status line then has a time),
// and reports a server it cannot reach.
void TestPublish::scheduleRecordsItsPublishOrFailure()
{
    QVERIFY(!publish::lastPublished());
    for (const QString& url : {m_url, QStringLiteral("http://127.0.0.1:%1/x/").arg(freePort())}) {
        QVERIFY(files::setProgramSetting(QStringLiteral("publish/url"), url));
        publish::PublishSchedule schedule(m_diary);
        QSignalSpy published(&schedule, &publish::PublishSchedule::published);
        QSignalSpy failed(&schedule, &publish::PublishSchedule::failed);
        QVERIFY(schedule.start());
        const bool reachable = url == m_url;
        QVERIFY((reachable ? published : failed).wait());
        QCOMPARE(failed.isEmpty(), reachable);
    }
    files::setProgramSetting(QStringLiteral("publish/url"), m_url);
    QVERIFY(publish::lastPublished());
    verifyCollection();
}

QTEST_GUILESS_MAIN(TestPublish)
#include "tst_publish.moc"
