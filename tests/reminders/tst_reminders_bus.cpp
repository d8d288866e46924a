// velmora-reminders as a user meets it: a fake notification service on a private session bus
// (dbus-run-session, see CMakeLists.txt), diaries written by velmora-cli.
#include <QtDBus>
#include <QtTest>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");

// Takes the notifications a desktop would show.
class FakeNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QStringList summaries;
    QStringList icons;
    QStringList actions;

    int count(const QString& subject) const
    {
        return int(std::count_if(summaries.begin(), summaries.end(),
                                 [&](const QString& s) { return s.endsWith(u' ' + subject); }));
    }

public slots:
    QStringList GetCapabilities() { return {QStringLiteral("actions"), QStringLiteral("body")}; }
    uint Notify(const QString&, uint, const QString& icon, const QString& summary, const QString&,
                const QStringList& offered, const QVariantMap&, int)
    {
        summaries << summary;
        icons << icon;
        actions = offered;
        return uint(summaries.size());
    }
    void CloseNotification(uint) {}
};

} // namespace

class TestRemindersBus : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void dueProgrammeShownOnceWhenServiceComes();
    void programmeAddedElsewhereIsShown();
    void restartRepeatsNothing();
    void cleanupTestCase();

private:
    void add(const QString& subject, int minutesAhead);
    void startReminders();
    void endReminders();

    QTemporaryDir m_dir;
    QString m_diary;
    FakeNotifications m_fake;
    QProcess m_reminders;
};

void TestRemindersBus::initTestCase()
{
    if (!QDBusConnection::sessionBus().isConnected())
        QSKIP("No session bus: run under dbus-run-session, as ctest does");
    m_diary = m_dir.filePath(QStringLiteral("Tarnalist.mdb"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_STATE_HOME"), m_dir.filePath(QStringLiteral("state")));
    environment.insert(QStringLiteral("VELMORA_REMINDERS_CHECK_SECONDS"), QStringLiteral("1"));
    m_reminders.setProcessEnvironment(environment);
    QVERIFY(QDBusConnection::sessionBus().registerObject(
        QStringLiteral("/org/freedesktop/Notifications"), &m_fake,
        QDBusConnection::ExportAllSlots));
}

void TestRemindersBus::add(const QString& subject, int minutesAhead)
{
    const QDateTime when = QDateTime::currentDateTime().addSecs(minutesAhead * 60);
    QProcess cli;
    cli.setProcessEnvironment(m_reminders.processEnvironment());
    cli.start(QStringLiteral(VELMORA_CLI),
              {QStringLiteral("add"), QStringLiteral("local"), QStringLiteral("--date"),
               when.date().toString(Qt::ISODate), QStringLiteral("--time"),
               when.time().toString(QStringLiteral("HH:mm")), QStringLiteral("--subject"), subject,
               QStringLiteral("--venue"), QStringLiteral(u"ಕಚೇರಿ"), QStringLiteral("--allow-clash"),
               QStringLiteral("--diary"), m_diary});
    QVERIFY(cli.waitForFinished(60000));
    QVERIFY2(cli.exitCode() == 0, cli.readAllStandardError().constData());
}

void TestRemindersBus::startReminders()
{
    m_reminders.start(QStringLiteral(VELMORA_REMINDERS), {QStringLiteral("--diary"), m_diary});
    QVERIFY(m_reminders.waitForStarted());
}

void TestRemindersBus::endReminders()
{
    m_reminders.terminate();
    QVERIFY(m_reminders.waitForFinished(30000));
    QCOMPARE(m_reminders.exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_reminders.exitCode(), 0);
}

// Started before any notification service: said once, and the reminder waits for the service.
void TestRemindersBus::dueProgrammeShownOnceWhenServiceComes()
{
    add(QStringLiteral(u"ಸಭೆ"), 10);
    startReminders();
    QByteArray said;
    QTRY_VERIFY_WITH_TIMEOUT(
        (said += m_reminders.readAllStandardError()).contains(kService.toUtf8()), 30000);
    QVERIFY(QDBusConnection::sessionBus().registerService(kService));
    QTRY_COMPARE_WITH_TIMEOUT(m_fake.count(QStringLiteral(u"ಸಭೆ")), 1, 30000);
    QCOMPARE(m_fake.icons.last(), QStringLiteral("velmora"));
    QVERIFY(m_fake.actions.contains(QStringLiteral("open")));
    QVERIFY(m_fake.actions.contains(QStringLiteral("again")));

    QProcess cli;
    cli.start(QStringLiteral(VELMORA_CLI),
              {QStringLiteral("upcoming"), QStringLiteral("--diary"), m_diary});
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitCode(), 0);
    QVERIFY(QString::fromUtf8(cli.readAllStandardOutput()).contains(QStringLiteral(u"ಸಭೆ")));
}

void TestRemindersBus::programmeAddedElsewhereIsShown()
{
    add(QStringLiteral(u"ಸಮಾರಂಭ"), 20);
    QTRY_COMPARE_WITH_TIMEOUT(m_fake.count(QStringLiteral(u"ಸಮಾರಂಭ")), 1, 90000);
    QCOMPARE(m_fake.count(QStringLiteral(u"ಸಭೆ")), 1);

    // "Remind again" on it is kept with what was shown, for any copy to bring back.
    QDBusMessage again =
        QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"), kService,
                                   QStringLiteral("ActionInvoked"));
    again << uint(m_fake.summaries.size()) << QStringLiteral("again");
    QVERIFY(QDBusConnection::sessionBus().send(again));
    const auto state = [this] {
        QDir folder(m_dir.filePath(QStringLiteral("state/Velmora")));
        QFile file(
            folder.filePath(folder.entryList({QStringLiteral("reminders-*.json")}).value(0)));
        return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object()
                                              : QJsonObject();
    };
    QTRY_COMPARE(state()[QLatin1String("again")].toObject().size(), 1);
}

void TestRemindersBus::restartRepeatsNothing()
{
    endReminders();
    startReminders();
    // Once the one added now is shown, the restarted program has looked at the others too.
    add(QStringLiteral(u"ಭೇಟಿ"), 25);
    QTRY_COMPARE_WITH_TIMEOUT(m_fake.count(QStringLiteral(u"ಭೇಟಿ")), 1, 90000);
    QCOMPARE(m_fake.count(QStringLiteral(u"ಸಭೆ")), 1);
    QCOMPARE(m_fake.count(QStringLiteral(u"ಸಮಾರಂಭ")), 1);
}

void TestRemindersBus::cleanupTestCase()
{
    if (m_reminders.state() != QProcess::NotRunning)
        endReminders();
}

QTEST_GUILESS_MAIN(TestRemindersBus)
#include "tst_reminders_bus.moc"
