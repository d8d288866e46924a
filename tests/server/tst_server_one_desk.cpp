// One desk, several windows, one connection to the server: a save in one window reaches the
// desk's other windows as another desk's save does, and the window that saved never takes its
// own save for another's; a move or a save the server fails leaves the window where it was.
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "FakeRegisterView.h"
#include "TestServer.h"
#include "data/DiaryDatabase.h"
#include "data/DiarySchema.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetError.h"
#include "platform/jet/Recordset.h"
#include "platform/jet/ServerSchema.h"
#include "registers/KeptDeletions.h"
#include "registers/RecordEditor.h"
#include "registers/RegisterMapping.h"
#include "reports/ReportRegister.h"
#include "reports/Stager.h"
#include "search/SearchQueries.h"
#include "search/SearchSession.h"

using registers::RecordEditor;

namespace {

// A program folder whose velmora.conf names the server under the desk's own name: every
// window opened from it shares the desk's one connection.
struct Desk {
    QTemporaryDir folder;
    QString path;

    Desk(const QString& connection, const QString& name)
    {
        QFile settings(folder.filePath(QString::fromLatin1(data::kSettingsFileName)));
        settings.open(QIODevice::WriteOnly);
        settings.write(QStringLiteral("[server]\nconnection=\"%1 application_name=%2\"\n")
                           .arg(connection, name)
                           .toUtf8());
        settings.close();
        path = folder.path() + QStringLiteral("\\Tarnalist.mdb");
    }
    std::shared_ptr<jet::Database> connection() const { return data::OpenDiaryDatabase(path); }
};

// A local register window of a desk.
struct Window {
    FakeRegisterView view;
    RecordEditor editor{registers::RegisterMapping::local(), view};

    explicit Window(const Desk& desk)
    {
        view.editor = &editor;
        editor.OpenRegister(desk.path);
    }
    void startNew(const QByteArray& topic)
    {
        static int day = 0; // a day of its own for each record: no two clash
        editor.ImageNew_Click();
        view.dates[1] = QDate(2030, 1, 1).addDays(day++);
        view.typeVarnel(4, topic);
        view.typeVarnel(5, "place");
    }
    void add(const QByteArray& topic)
    {
        startNew(topic);
        answerYes(&RecordEditor::ImageSave_Click);
    }
    void change(int serial, const QByteArray& topic)
    {
        view.scrollTo(serial);
        view.typeVarnel(4, topic);
        answerYes(&RecordEditor::ImageSave_Click);
    }
    void remove(int serial)
    {
        view.scrollTo(serial);
        answerYes(&RecordEditor::ImageDelete_Click);
    }
    void answerYes(void (RecordEditor::*click)())
    {
        view.answers << true;
        (editor.*click)();
    }
    // A move of the user's to another record.
    void moveOn() { view.scrollTo(view.navValue == 1 ? 2 : 1); }
    int shownSerial() const { return view.serial.toInt(); }
};

int numberOf(jet::Database& db, const QString& sql)
{
    return db.OpenRecordset(sql, jet::RecordsetType::Snapshot)->Fields(0).Value().toInt();
}

int storedCount(jet::Database& db)
{
    return numberOf(db, QStringLiteral("Select count(*) from local"));
}

QByteArray storedTopic(jet::Database& db, int serial)
{
    return db.OpenRecordset(QStringLiteral("Select topic from local where sl_no = %1").arg(serial))
        ->Fields(0)
        .Value()
        .toByteArray();
}

// A new database on the test server holding an empty diary; its connection text.
QString freshDiary(const QString& name)
{
    const QString connection = freshServerDatabase(name);
    jet::initServerDiary(*jet::Database::ConnectServer(connection), data::diarySchemaStatements());
    return connection;
}

// A record added behind every window's back (no change notice): only a window that reads the
// register afresh shows it.
void addUnannounced(jet::Database& admin)
{
    admin.Execute(QStringLiteral("SET session_replication_role = replica"));
    admin.Execute(QStringLiteral("INSERT INTO local (sl_no, tarna_date, tarna_time, topic) "
                                 "SELECT count(*) + 1, '2031-01-01', '10:00:00', 'probe' "
                                 "FROM local"));
    admin.Execute(QStringLiteral("SET session_replication_role = origin"));
}

// The write under test: a step of window A, or of another window of the same desk.
enum class Step {
    New,
    Change,
    Delete,
    UndoDeletion,
    UndoChange,
    UndoNew,
    RestoreInDeletedWindow,
    StageReport
};

enum class Fault {
    Unreachable,        // the connection ends and the server takes no new one
    RegisterLocked,     // a lock on the register holds every read past the desk's lock timeout
    AnotherDeskWriting, // another desk holds the writers' lock past the desk's lock timeout
    DropAtCommit,       // the connection ends while the write commits; no new one is taken
};

enum class Act { Move, SaveNew, SaveChange, Delete };

} // namespace

class TestServerOneDesk : public QObject {
    Q_OBJECT

    int m_databases = 0;

    QString nextName(const char* stem)
    {
        return QLatin1String(stem) + QString::number(++m_databases);
    }

private slots:
    void initTestCase() { VELMORA_REQUIRE_TEST_SERVER(); }

    // Window A (a register editor) takes the step; window B (another editor of the same
    // register) and a search window S are open on the same desk. A record then added without a
    // change notice shows in exactly the windows that read the register afresh: B and S after
    // every write to the register, as after another desk's; A never after its own.
    void aWriteReachesTheDesksOtherWindowsNotTheOneThatMadeIt_data()
    {
        QTest::addColumn<Step>("step");
        QTest::addColumn<bool>("byEditor"); // window A made the write
        QTest::addColumn<bool>("changesRegister");
        QTest::newRow("save new") << Step::New << true << true;
        QTest::newRow("save change") << Step::Change << true << true;
        QTest::newRow("delete and renumber") << Step::Delete << true << true;
        QTest::newRow("undo a deletion") << Step::UndoDeletion << true << true;
        QTest::newRow("undo a change") << Step::UndoChange << true << true;
        QTest::newRow("undo a new record") << Step::UndoNew << true << true;
        QTest::newRow("restore in the deleted-records window")
            << Step::RestoreInDeletedWindow << false << true;
        // Its own staging tables only: the windows have nothing to read again.
        QTest::newRow("stage a report") << Step::StageReport << false << false;
    }
    void aWriteReachesTheDesksOtherWindowsNotTheOneThatMadeIt()
    {
        QFETCH(Step, step);
        QFETCH(bool, byEditor);
        QFETCH(bool, changesRegister);
        const QString connection = freshDiary(nextName("velmora_desk_"));
        const Desk desk(connection, nextName("desk"));
        Window a(desk);
        for (const char* topic : {"one", "two", "three", "four"})
            a.add(topic);
        Window b(desk);
        search::SearchSession s(search::SearchRegister::Local);
        s.OpenDatabase(desk.path);
        s.run(search::programmeOpeningQuery(QStringLiteral("local")));
        // What the step takes back or brings back.
        switch (step) {
        case Step::UndoDeletion:
        case Step::RestoreInDeletedWindow: a.remove(2); break;
        case Step::UndoChange: a.change(2, "changed"); break;
        case Step::UndoNew: a.add("five"); break;
        default: break;
        }
        b.moveOn();
        s.refreshIfChanged();
        const int before = storedCount(*desk.connection());

        switch (step) {
        case Step::New: a.add("new"); break;
        case Step::Change: a.change(3, "changed"); break;
        case Step::Delete: a.remove(3); break;
        case Step::UndoDeletion:
        case Step::UndoChange:
        case Step::UndoNew: a.answerYes(&RecordEditor::Undo_Click); break;
        case Step::RestoreInDeletedWindow: {
            registers::KeptDeletions kept(*desk.connection(), QStringLiteral("local"));
            QCOMPARE(kept.restore(kept.list().first().id).outcome,
                     registers::KeptDeletions::Outcome::Restored);
            break;
        }
        case Step::StageReport:
            QVERIFY(reports::stageRange(*desk.connection(), reports::ReportRegister::local(),
                                        QDate(2030, 1, 1), QDate(2031, 12, 31)) > 0);
            break;
        }
        QVERIFY(a.view.textMessages.isEmpty());
        const int after = storedCount(*desk.connection());
        QCOMPARE(after != before, step == Step::New || step == Step::Delete ||
                                      step == Step::UndoDeletion || step == Step::UndoNew ||
                                      step == Step::RestoreInDeletedWindow);

        auto admin = jet::Database::ConnectServer(connection);
        addUnannounced(*admin);
        const int aMaximum = a.view.navMax, bMaximum = b.view.navMax;
        const int listed = s.model().rowCount();
        a.moveOn();
        b.moveOn();
        const bool sReads = s.refreshIfChanged();

        QCOMPARE(sReads, changesRegister);
        QCOMPARE(s.model().rowCount(), changesRegister ? after + 1 : listed);
        QCOMPARE(b.view.navMax, changesRegister ? after + 1 : bMaximum);
        QCOMPARE(a.view.navMax, changesRegister && !byEditor ? after + 1 : aMaximum);
        if (byEditor)
            QCOMPARE(a.view.navMax, after);
        // Each shows the record under its navigator.
        for (const Window* w : {&a, &b}) {
            QCOMPARE(w->shownSerial(), w->view.navValue);
            QCOMPARE(w->view.shownText(4), storedTopic(*admin, w->view.navValue));
        }
    }

    // The server fails a step of window A. Meanwhile the navigator stays at the number of the
    // record on screen (a record being added stays as typed), the failure reaches the window
    // as the engine error its Kannada message is made of, and nothing is half written; once
    // the server is back the next step lands where it is asked to.
    void aFailedStepLeavesTheWindowWhereItWas_data()
    {
        QTest::addColumn<Act>("act");
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<int>("error");
        using namespace jet::errors;
        QTest::newRow("move, server unreachable")
            << Act::Move << Fault::Unreachable << kServerUnreachable;
        QTest::newRow("move, register locked") << Act::Move << Fault::RegisterLocked << kFileLocked;
        QTest::newRow("save new, another desk writing")
            << Act::SaveNew << Fault::AnotherDeskWriting << kFileLocked;
        QTest::newRow("save new, connection lost at commit")
            << Act::SaveNew << Fault::DropAtCommit << kServerUnreachable;
        QTest::newRow("save change, connection lost at commit")
            << Act::SaveChange << Fault::DropAtCommit << kServerUnreachable;
        QTest::newRow("delete, connection lost at commit")
            << Act::Delete << Fault::DropAtCommit << kServerUnreachable;
    }
    void aFailedStepLeavesTheWindowWhereItWas()
    {
        QFETCH(Act, act);
        QFETCH(Fault, fault);
        QFETCH(int, error);
        const QString database = nextName("velmora_fault_");
        const QString deskName = nextName("faulty");
        const QString connection = freshDiary(database);
        const Desk desk(connection, deskName);
        Window a(desk);
        for (const char* topic : {"one", "two", "three", "four", "five"})
            a.add(topic);
        const int from = act == Act::SaveNew ? 5 : 3;
        a.view.scrollTo(from);
        auto admin = jet::Database::ConnectServer(connection);
        auto server = jet::Database::ConnectServer(testServerConnection());
        auto otherDesk = jet::Database::ConnectServer(connection);
        const auto allowConnections = [&](bool allow) {
            server->Execute(
                QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS %2")
                    .arg(database, allow ? QStringLiteral("true") : QStringLiteral("false")));
        };
        const auto deskConnections = [&] {
            return numberOf(*server, QStringLiteral("Select count(*) from pg_stat_activity "
                                                    "where application_name = '%1'")
                                         .arg(deskName));
        };
        const std::unique_ptr<void, std::function<void(void*)>> allowAtEnd(
            &a, [&](void*) { allowConnections(true); });

        if (act == Act::Move) {
            // Another desk's change, noticed here: the move reads the register afresh.
            const std::int64_t seen = desk.connection()->DataVersion();
            admin->Execute(QStringLiteral("UPDATE local SET topic = 'theirs' WHERE sl_no = 1"));
            QTRY_VERIFY(desk.connection()->DataVersion() != seen);
        }
        switch (fault) {
        case Fault::Unreachable:
            allowConnections(false);
            server->OpenRecordset(QStringLiteral("Select pg_terminate_backend(pid) from "
                                                 "pg_stat_activity where application_name = '%1'")
                                      .arg(deskName),
                                  jet::RecordsetType::Snapshot);
            QTRY_COMPARE(deskConnections(), 0);
            break;
        case Fault::RegisterLocked:
        case Fault::AnotherDeskWriting:
            desk.connection()->Execute(QStringLiteral("SET lock_timeout = 300"));
            otherDesk->BeginTrans(); // the writers' lock
            if (fault == Fault::RegisterLocked)
                otherDesk->Execute(QStringLiteral("LOCK TABLE local IN ACCESS EXCLUSIVE MODE"));
            break;
        case Fault::DropAtCommit:
            admin->Execute(QStringLiteral(
                "CREATE FUNCTION drop_desk() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                "PERFORM pg_terminate_backend(pg_backend_pid()); RETURN NULL; END $$"));
            admin->Execute(QStringLiteral(
                "CREATE CONSTRAINT TRIGGER drop_at_commit AFTER INSERT OR UPDATE OR DELETE ON "
                "local DEFERRABLE INITIALLY DEFERRED FOR EACH ROW EXECUTE FUNCTION drop_desk()"));
            allowConnections(false);
            break;
        }

        int failedWith = 0;
        try {
            switch (act) {
            case Act::Move: a.view.scrollTo(from + 1); break;
            case Act::SaveNew: a.add("lost"); break;
            case Act::SaveChange: a.change(from, "lost"); break;
            case Act::Delete: a.remove(from); break;
            }
        } catch (const jet::JetError& e) {
            failedWith = e.number();
        }
        QCOMPARE(failedWith, error);
        // The window as the failure left it, held against the server once it is back.
        const RecordEditor::State state = a.editor.state();
        const int navigator = a.view.navValue;
        const int serial = a.shownSerial();
        const QByteArray shown = a.view.shownText(4);
        const std::optional<std::int64_t> key = a.editor.shownKey();
        switch (fault) {
        case Fault::Unreachable: allowConnections(true); break;
        case Fault::RegisterLocked:
        case Fault::AnotherDeskWriting: otherDesk->Rollback(); break;
        case Fault::DropAtCommit:
            admin->Execute(QStringLiteral("DROP TRIGGER drop_at_commit ON local"));
            allowConnections(true);
            break;
        }
        QCOMPARE(storedCount(*admin), 5);
        if (act == Act::SaveNew) {
            QCOMPARE(state, RecordEditor::State::Adding);
            QCOMPARE(shown, QByteArray("lost"));
        } else {
            QCOMPARE(state, RecordEditor::State::Browsing);
            QCOMPARE(navigator, from);
            QCOMPARE(serial, from);
            QCOMPARE(numberOf(*admin, QStringLiteral("Select sl_no from local where row_id = %1")
                                          .arg(key.value_or(0))),
                     from);
            QCOMPARE(shown,
                     act == Act::SaveChange ? QByteArray("lost") : storedTopic(*admin, from));
        }

        if (act == Act::SaveNew) {
            a.view.answers << true;
            a.editor.ImageCancel_Click();
            QCOMPARE(a.view.navValue, 5);
        } else {
            a.view.scrollTo(from + 1);
            QCOMPARE(a.view.navValue, from + 1);
        }
        QCOMPARE(a.editor.state(), RecordEditor::State::Browsing);
        QCOMPARE(a.shownSerial(), a.view.navValue);
        QCOMPARE(a.view.shownText(4), storedTopic(*admin, a.view.navValue));
        QCOMPARE(a.view.navMax, storedCount(*admin));
        QCOMPARE(storedCount(*admin), 5);
    }
};

QTEST_GUILESS_MAIN(TestServerOneDesk)
#include "tst_server_one_desk.moc"
