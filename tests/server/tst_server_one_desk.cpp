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

// A program folder whose velmora.conf names the server under the desk's own name, and the
// diary of that desk's windows, which share one connection.
struct Desk {
    QTemporaryDir folder;
    QString connection;
    QString path = folder.path() + QStringLiteral("\\Tarnalist.mdb");

    Desk(const QString& database, const QString& name) : connection(freshServerDatabase(database))
    {
        jet::initServerDiary(*jet::Database::ConnectServer(connection),
                             data::diarySchemaStatements());
        QFile settings(folder.filePath(QString::fromLatin1(data::kSettingsFileName)));
        settings.open(QIODevice::WriteOnly);
        settings.write(QStringLiteral("[server]\nconnection=\"%1 application_name=%2\"\n")
                           .arg(connection, name)
                           .toUtf8());
    }
};

// A local register window of a desk; each click is answered Yes.
struct Window {
    FakeRegisterView view;
    RecordEditor editor{registers::RegisterMapping::local(), view};

    explicit Window(const Desk& desk)
    {
        view.editor = &editor;
        editor.OpenRegister(desk.path);
    }
    void click(void (RecordEditor::*button)())
    {
        view.answers << true;
        (editor.*button)();
    }
    void add(const QByteArray& topic)
    {
        static int day = 0; // a day of its own for each record: no two clash
        editor.ImageNew_Click();
        view.dates[1] = QDate(2030, 1, 1).addDays(day++);
        view.typeVarnel(4, topic);
        view.typeVarnel(5, "place");
        click(&RecordEditor::ImageSave_Click);
    }
    void change(int serial, const QByteArray& topic)
    {
        view.scrollTo(serial);
        view.typeVarnel(4, topic);
        click(&RecordEditor::ImageSave_Click);
    }
    void remove(int serial)
    {
        view.scrollTo(serial);
        click(&RecordEditor::ImageDelete_Click);
    }
    void moveOn() { view.scrollTo(view.navValue == 1 ? 2 : 1); }
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

// Each window shows the record its navigator points at, as stored.
void checkShowsStored(const Window& w, jet::Database& db)
{
    QCOMPARE(w.view.serial.toInt(), w.view.navValue);
    QCOMPARE(w.view.shownText(4), storedTopic(db, w.view.navValue));
}

enum class Step { New, Change, Delete, UndoDeletion, UndoChange, UndoNew, Restore, StageReport };
enum class Fault { Unreachable, RegisterLocked, AnotherDeskWriting, DropAtCommit };
enum class Act { Move, SaveNew, SaveChange, Delete };

} // namespace

class TestServerOneDesk : public QObject {
    Q_OBJECT

    int m_databases = 0;

private slots:
    void initTestCase() { VELMORA_REQUIRE_TEST_SERVER(); }

    // Window A takes the step; B (another editor of the register) and a search window S are
    // open on the same desk. A record then added with no change notice (replica role) shows in
    // exactly the windows that read the register afresh: B and S after every write to the
    // register, as after another desk's; A never after its own.
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
        QTest::newRow("restore a deleted record") << Step::Restore << false << true;
        // Its own staging tables only: the windows have nothing to read again.
        QTest::newRow("stage a report") << Step::StageReport << false << false;
    }
    void aWriteReachesTheDesksOtherWindowsNotTheOneThatMadeIt()
    {
        QFETCH(Step, step);
        QFETCH(bool, byEditor);
        QFETCH(bool, changesRegister);
        const int n = ++m_databases;
        const Desk desk(QStringLiteral("velmora_desk_%1").arg(n), QStringLiteral("desk%1").arg(n));
        Window a(desk);
        for (const char* topic : {"one", "two", "three", "four"})
            a.add(topic);
        Window b(desk);
        search::SearchSession s(data::Register::Local);
        s.OpenDatabase(desk.path);
        s.run(search::programmeOpeningQuery(QStringLiteral("local")));
        if (step == Step::UndoDeletion || step == Step::Restore)
            a.remove(2);
        else if (step == Step::UndoChange)
            a.change(2, "changed");
        else if (step == Step::UndoNew)
            a.add("five");
        b.moveOn();
        s.refreshIfChanged();

        const auto db = data::OpenDiaryDatabase(desk.path);
        switch (step) {
        case Step::New: a.add("new"); break;
        case Step::Change: a.change(3, "changed"); break;
        case Step::Delete: a.remove(3); break;
        case Step::UndoDeletion:
        case Step::UndoChange:
        case Step::UndoNew: a.click(&RecordEditor::Undo_Click); break;
        case Step::Restore: {
            registers::KeptDeletions kept(*db, QStringLiteral("local"));
            QCOMPARE(kept.restore(kept.list().first().id).outcome,
                     registers::KeptDeletions::Outcome::Restored);
            break;
        }
        case Step::StageReport:
            QVERIFY(reports::stageRange(*db, reports::ReportRegister::local(), QDate(2030, 1, 1),
                                        QDate(2031, 12, 31)) > 0);
            break;
        }
        QVERIFY(a.view.textMessages.isEmpty());
        const int after = storedCount(*db);

        auto admin = jet::Database::ConnectServer(desk.connection);
        admin->Execute(QStringLiteral("SET session_replication_role = replica"));
        admin->Execute(QStringLiteral("INSERT INTO local (sl_no, tarna_date, tarna_time, topic) "
                                      "VALUES (%1, '2031-01-01', '10:00:00', 'probe')")
                           .arg(after + 1));
        const int aMaximum = a.view.navMax, bMaximum = b.view.navMax;
        const int listed = s.model().rowCount();
        a.moveOn();
        b.moveOn();
        QCOMPARE(s.refreshIfChanged(), changesRegister);
        QCOMPARE(s.model().rowCount(), changesRegister ? after + 1 : listed);
        QCOMPARE(b.view.navMax, changesRegister ? after + 1 : bMaximum);
        QCOMPARE(a.view.navMax, byEditor ? after : changesRegister ? after + 1 : aMaximum);
        checkShowsStored(a, *admin);
        checkShowsStored(b, *admin);
    }

    // The server fails a step of window A: the failure reaches the window as the engine error
    // its Kannada message is made of, nothing is half written, the navigator stays at the record
    // on screen (a record being added stays as typed), and once the server is back the next
    // step lands where it is asked to.
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
        // The server cannot be asked afterwards (it takes no connection): not known.
        QTest::newRow("save new, connection lost at commit")
            << Act::SaveNew << Fault::DropAtCommit << kCommitOutcomeUnknown;
        QTest::newRow("save change, connection lost at commit")
            << Act::SaveChange << Fault::DropAtCommit << kCommitOutcomeUnknown;
        QTest::newRow("delete, connection lost at commit")
            << Act::Delete << Fault::DropAtCommit << kCommitOutcomeUnknown;
    }
    void aFailedStepLeavesTheWindowWhereItWas()
    {
        QFETCH(Act, act);
        QFETCH(Fault, fault);
        QFETCH(int, error);
        const QString database = QStringLiteral("velmora_fault_%1").arg(++m_databases);
        const QString deskName = QStringLiteral("faulty%1").arg(m_databases);
        const Desk desk(database, deskName);
        Window a(desk);
        for (const char* topic : {"one", "two", "three", "four", "five"})
            a.add(topic);
        const int from = act == Act::SaveNew ? 5 : 3;
        a.view.scrollTo(from);
        auto admin = jet::Database::ConnectServer(desk.connection);
        auto server = jet::Database::ConnectServer(testServerConnection());
        auto otherDesk = jet::Database::ConnectServer(desk.connection);
        const auto allowConnections = [&](bool allow) {
            server->Execute(QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS %2")
                                .arg(database, allow ? "true" : "false"));
        };
        const auto allowAtEnd = qScopeGuard([&] { allowConnections(true); });
        const auto deskDb = data::OpenDiaryDatabase(desk.path);
        if (act == Act::Move) {
            // Another desk's change, noticed here: the move reads the register afresh.
            const std::int64_t seen = deskDb->DataVersion();
            admin->Execute(QStringLiteral("UPDATE local SET topic = 'theirs' WHERE sl_no = 1"));
            QTRY_VERIFY(deskDb->DataVersion() != seen);
        }
        if (fault == Fault::Unreachable) {
            allowConnections(false);
            const QString ofDesk =
                QStringLiteral("from pg_stat_activity where application_name = '%1'").arg(deskName);
            numberOf(*server, QStringLiteral("Select count(pg_terminate_backend(pid)) ") + ofDesk);
            QTRY_COMPARE(numberOf(*server, QStringLiteral("Select count(*) ") + ofDesk), 0);
        } else if (fault == Fault::DropAtCommit) {
            admin->Execute(QStringLiteral(
                "CREATE FUNCTION drop_desk() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                "PERFORM pg_terminate_backend(pg_backend_pid()); RETURN NULL; END $$"));
            admin->Execute(QStringLiteral(
                "CREATE CONSTRAINT TRIGGER drop_at_commit AFTER INSERT OR UPDATE OR DELETE ON "
                "local DEFERRABLE INITIALLY DEFERRED FOR EACH ROW EXECUTE FUNCTION drop_desk()"));
            allowConnections(false);
        } else {
            deskDb->Execute(QStringLiteral("SET lock_timeout = 300"));
            otherDesk->BeginTrans(); // the writers' lock
            if (fault == Fault::RegisterLocked)
                otherDesk->Execute(QStringLiteral("LOCK TABLE local IN ACCESS EXCLUSIVE MODE"));
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
        const int serial = a.view.serial.toInt();
        const QByteArray shown = a.view.shownText(4);
        const qint64 key = a.editor.shownKey().value_or(0);
        if (fault == Fault::DropAtCommit)
            admin->Execute(QStringLiteral("DROP TRIGGER drop_at_commit ON local"));
        if (fault == Fault::RegisterLocked || fault == Fault::AnotherDeskWriting)
            otherDesk->Rollback();
        allowConnections(true);
        QCOMPARE(storedCount(*admin), 5);
        if (act == Act::SaveNew) {
            QCOMPARE(state, RecordEditor::State::Adding);
            QCOMPARE(shown, QByteArray("lost"));
            a.click(&RecordEditor::ImageCancel_Click);
            QCOMPARE(a.view.navValue, 5);
        } else {
            QCOMPARE(state, RecordEditor::State::Browsing);
            QCOMPARE(navigator, from);
            QCOMPARE(serial, from);
            QCOMPARE(numberOf(*admin,
                              QStringLiteral("Select sl_no from local where row_id = %1").arg(key)),
                     from);
            QCOMPARE(shown,
                     act == Act::SaveChange ? QByteArray("lost") : storedTopic(*admin, from));
            a.view.scrollTo(from + 1);
            QCOMPARE(a.view.navValue, from + 1);
        }
        QCOMPARE(a.editor.state(), RecordEditor::State::Browsing);
        checkShowsStored(a, *admin);
        QCOMPARE(a.view.navMax, storedCount(*admin));
    }
};

QTEST_GUILESS_MAIN(TestServerOneDesk)
#include "tst_server_one_desk.moc"
