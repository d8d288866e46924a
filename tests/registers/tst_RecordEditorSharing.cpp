#include <sqlite3.h>

#include <QtTest>

#include "RecordEditorFixture.h"
#include "platform/jet/JetError.h"

using registers::RecordEditor;
using registers::RegisterMapping;

// The record editor when writes fail and when other editors share the diary.
class TestRecordEditorSharing : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void failedRenumberingLeavesRegisterWhole();
    void failedSaveKeepsTheNewRecordPending();
    void deletionWhileAnotherProgramWritesFailsWhole();
    void registersAreIndependent();
    void secondEditorSeesRowsSavedByTheFirst();
    void twoEditorsActOnTheRecordsAsStored_data();
    void twoEditorsActOnTheRecordsAsStored();
    void randomSessionsKeepSerialsDense();
};

void TestRecordEditorSharing::initTestCase()
{
    startRecordEditorTests();
}

void TestRecordEditorSharing::failedRenumberingLeavesRegisterWhole()
{
    RegisterFixture db;
    db.create();
    db.fill("local", 10);
    // The engine refuses the seventh renumbering write, half way through the deletion.
    db.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE OF sl_no ON local "
                           "WHEN NEW.sl_no = 7 BEGIN SELECT RAISE(ABORT, 'disk refused'); END"));
    Editor e(RegisterMapping::local(), db.databasePath());
    e.view.scrollTo(2);
    QVERIFY_THROWS_EXCEPTION(std::exception, e.deleteShown());

    QCOMPARE(db.rows("local"), expectedRows(range(1, 10)));
    QVERIFY(db.query("SELECT * FROM deleted_records").isEmpty()); // kept only with the deletion
    // The editor shows what is stored and keeps working.
    QCOMPARE(e.view.navMax, 10);
    QCOMPARE(e.view.serial, QString::number(e.view.navValue));
    QCOMPARE(e.topic(), RegisterFixture::topicOf(e.view.navValue));
    db.exec(QStringLiteral("DROP TRIGGER refuse"));
    e.view.scrollTo(2);
    e.deleteShown();
    QList<int> expected = range(1, 10);
    expected.removeOne(2);
    QCOMPARE(db.rows("local"), expectedRows(expected));
}

void TestRecordEditorSharing::failedSaveKeepsTheNewRecordPending()
{
    RegisterFixture db;
    db.create();
    db.fill("local", 3);
    db.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON local "
                           "BEGIN SELECT RAISE(ABORT, 'locked'); END"));
    Editor e(RegisterMapping::local(), db.databasePath());
    e.editor.ImageNew_Click();
    e.view.type(4, QStringLiteral("ಸಭೆ"));
    e.view.type(5, QStringLiteral("ಸ್ಥಳ"));
    QVERIFY_THROWS_EXCEPTION(std::exception, e.saveAnswering(true));
    QCOMPARE(e.editor.state(), RecordEditor::State::Adding);
    QCOMPARE(db.count("local"), 3);

    db.exec(QStringLiteral("DROP TRIGGER refuse"));
    e.saveAnswering(true);
    QCOMPARE(db.count("local"), 4);
    QCOMPARE(e.view.serial, QStringLiteral("4"));
    QCOMPARE(e.view.navValue, 4);
}

// Another program holds the diary's write lock: the deletion waits, then fails as a whole,
// and works once the lock is gone.
void TestRecordEditorSharing::deletionWhileAnotherProgramWritesFailsWhole()
{
    Session s(RegisterMapping::local(), 6);
    RegisterFixture& db = s.db;
    Editor& e = *s.editor;
    sqlite3* other = nullptr;
    QCOMPARE(sqlite3_open(db.databasePath().toUtf8().constData(), &other), SQLITE_OK);
    QCOMPARE(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);

    e.view.scrollTo(2);
    try {
        e.deleteShown();
        QFAIL("the deletion went through a held lock");
    } catch (const jet::JetError& error) {
        QCOMPARE(error.number(), jet::errors::kFileLocked);
    }
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);

    QCOMPARE(db.rows("local"), expectedRows(range(1, 6)));
    QCOMPARE(e.view.navMax, 6);
    QCOMPARE(e.topic(), RegisterFixture::topicOf(e.view.navValue));
    e.view.scrollTo(2);
    e.deleteShown();
    QList<int> expected = range(1, 6);
    expected.removeOne(2);
    QCOMPARE(db.rows("local"), expectedRows(expected));
}

void TestRecordEditorSharing::registersAreIndependent()
{
    RegisterFixture db;
    db.create();
    db.fill("local", 3);
    db.fill("outstation", 5);
    Editor outstation(RegisterMapping::outstation(), db.databasePath());
    outstation.view.scrollTo(2);
    outstation.deleteShown();
    outstation.editor.ImageNew_Click();
    outstation.view.type(4, QStringLiteral("ಸಭೆ"));
    outstation.view.type(5, QStringLiteral("ಸ್ಥಳ"));
    outstation.saveAnswering(true);

    QCOMPARE(db.rows("local"), expectedRows(range(1, 3)));
    QCOMPARE(db.count("outstation"), 5);
    QCOMPARE(db.rows("outstation").last().first, 5);
}

void TestRecordEditorSharing::secondEditorSeesRowsSavedByTheFirst()
{
    RegisterFixture db;
    db.create();
    db.fill("local", 2);
    Editor first(RegisterMapping::local(), db.databasePath());
    first.editor.ImageNew_Click();
    first.view.typeVarnel(4, RegisterFixture::topicOf(3));
    first.view.type(5, QStringLiteral("ಸ್ಥಳ"));
    first.saveAnswering(true);

    Editor second(RegisterMapping::local(), db.databasePath());
    QCOMPARE(second.view.navMax, 3);
    second.view.scrollTo(3);
    QCOMPARE(second.topic(), RegisterFixture::topicOf(3));
}

// Two windows (or two copies of the program) on one register of ten records. Window A shows
// record 7 (or is about to add); window B acts first; then A acts. Topics 100 and 200 are what A
// and B typed; the expected register lists topics in serial order.
enum class First { DeleteThree, DeleteSeven, ChangeSeven, AddOne };
enum class Then { SaveChange, Delete, AddNew };
Q_DECLARE_METATYPE(First)
Q_DECLARE_METATYPE(Then)

void TestRecordEditorSharing::twoEditorsActOnTheRecordsAsStored_data()
{
    QTest::addColumn<First>("first");
    QTest::addColumn<Then>("then");
    QTest::addColumn<bool>("answer"); // to A's question, if A is asked one
    QTest::addColumn<QList<int>>("expected");
    QTest::addColumn<int>("shownTopic"); // what A shows afterwards

    const auto without = [](QList<int> l, int v) {
        l.removeOne(v);
        return l;
    };
    const auto replaced = [](QList<int> l, int at, int v) {
        l[at] = v;
        return l;
    };
    QTest::newRow("B deletes an earlier record, A saves its record under its new number")
        << First::DeleteThree << Then::SaveChange << false
        << replaced(without(range(1, 10), 3), 5, 100) << 100;
    QTest::newRow("B deletes an earlier record, A deletes the record it shows")
        << First::DeleteThree << Then::Delete << false << without(without(range(1, 10), 3), 7)
        << 10;
    QTest::newRow("B deletes a record, A adds: numbers stay 1..N")
        << First::DeleteThree << Then::AddNew << false << without(range(1, 10), 3) + QList{100}
        << 100;
    QTest::newRow("B adds a record, A adds after it")
        << First::AddOne << Then::AddNew << false << range(1, 10) + QList{200, 100} << 100;
    QTest::newRow("B deleted A's record, A saves it as a new one")
        << First::DeleteSeven << Then::SaveChange << true << without(range(1, 10), 7) + QList{100}
        << 100;
    QTest::newRow("B deleted A's record, A drops its change")
        << First::DeleteSeven << Then::SaveChange << false << without(range(1, 10), 7) << 8;
    QTest::newRow("B deleted A's record, A's deletion deletes nothing else")
        << First::DeleteSeven << Then::Delete << false << without(range(1, 10), 7) << 8;
    QTest::newRow("B changed A's record, A saves over it")
        << First::ChangeSeven << Then::SaveChange << true << replaced(range(1, 10), 6, 100) << 100;
    QTest::newRow("B changed A's record, A keeps B's change")
        << First::ChangeSeven << Then::SaveChange << false << replaced(range(1, 10), 6, 200) << 200;
    QTest::newRow("B changed A's record, A's deletion is refused")
        << First::ChangeSeven << Then::Delete << false << replaced(range(1, 10), 6, 200) << 200;
}

void TestRecordEditorSharing::twoEditorsActOnTheRecordsAsStored()
{
    QFETCH(First, first);
    QFETCH(Then, then);
    QFETCH(bool, answer);
    QFETCH(QList<int>, expected);
    QFETCH(int, shownTopic);
    Session s(RegisterMapping::local(), 10);
    Editor& a = *s.editor;
    Editor b(RegisterMapping::local(), s.db.databasePath());
    if (then == Then::AddNew)
        a.editor.ImageNew_Click();
    else
        a.view.scrollTo(7);

    switch (first) {
    case First::DeleteThree:
        b.view.scrollTo(3);
        b.deleteShown();
        break;
    case First::DeleteSeven:
        b.view.scrollTo(7);
        b.deleteShown();
        break;
    case First::ChangeSeven:
        b.view.scrollTo(7);
        b.view.typeVarnel(4, RegisterFixture::topicOf(200));
        b.saveAnswering(true);
        break;
    case First::AddOne:
        b.editor.ImageNew_Click();
        b.view.typeVarnel(4, RegisterFixture::topicOf(200));
        b.view.type(5, QStringLiteral("ಸ್ಥಳ"));
        b.saveAnswering(true);
        break;
    }

    switch (then) {
    case Then::SaveChange:
        a.view.typeVarnel(4, RegisterFixture::topicOf(100));
        a.view.answers << true << answer; // the save question, then the one about B's act
        a.editor.ImageSave_Click();
        break;
    case Then::Delete: a.deleteShown(); break;
    case Then::AddNew:
        a.view.typeVarnel(4, RegisterFixture::topicOf(100));
        a.view.type(5, QStringLiteral("ಸ್ಥಳ"));
        a.saveAnswering(true);
        break;
    }
    QCOMPARE(s.db.rows("local"), expectedRows(expected));
    QCOMPARE(a.editor.state(), RecordEditor::State::Browsing);
    QCOMPARE(a.view.navMax, int(expected.size()));
    QCOMPARE(a.view.serial, QString::number(a.view.navValue));
    QCOMPARE(a.topic(), RegisterFixture::topicOf(shownTopic));
    // B browses on from what is stored now, and its next addition is numbered N+1.
    b.editor.ImageNew_Click();
    b.view.typeVarnel(4, RegisterFixture::topicOf(300));
    b.view.type(5, QStringLiteral("ಸ್ಥಳ"));
    b.saveAnswering(true);
    QCOMPARE(s.db.rows("local"), expectedRows(expected + QList{300}));
}

// A long random session checked against a plain list of what the register should hold.
void TestRecordEditorSharing::randomSessionsKeepSerialsDense()
{
    RegisterFixture db;
    db.create();
    db.fill("local", 5);
    QList<int> model = range(1, 5); // topics in serial order
    int nextTopic = 6;
    Editor e(RegisterMapping::local(), db.databasePath());
    QRandomGenerator random(20261207);

    for (int step = 0; step < 400; ++step) {
        const bool adding = e.editor.state() != RecordEditor::State::Browsing;
        const int action = random.bounded(6);
        switch (action) {
        case 0:
            if (!adding)
                e.editor.ImageNew_Click();
            break;
        case 1: // save: a new record, or a change to the shown one
            e.view.typeVarnel(4, RegisterFixture::topicOf(nextTopic));
            e.view.type(5, QStringLiteral("ಸ್ಥಳ"));
            e.saveAnswering(true);
            if (adding)
                model.append(nextTopic);
            else
                model[e.view.navValue - 1] = nextTopic;
            ++nextTopic;
            break;
        case 2:
            if (e.editor.state() == RecordEditor::State::Adding)
                e.cancelNew();
            break;
        case 3:
            if (!adding && !model.isEmpty()) {
                model.removeAt(e.view.serial.toInt() - 1);
                e.deleteShown();
            }
            break;
        default:
            if (!adding && !model.isEmpty())
                e.view.scrollTo(1 + random.bounded(int(model.size())));
            break;
        }
        if (e.editor.state() == RecordEditor::State::Browsing) {
            QCOMPARE(e.view.navMax, int(model.size()));
            QCOMPARE(e.view.serial, QString::number(e.view.navValue));
            QCOMPARE(e.topic(), RegisterFixture::topicOf(model[e.view.navValue - 1]));
        }
        if (step % 40 == 0)
            QCOMPARE(db.rows("local"), expectedRows(model));
    }
    QCOMPARE(db.rows("local"), expectedRows(model));
}

QTEST_GUILESS_MAIN(TestRecordEditorSharing)
#include "tst_RecordEditorSharing.moc"
