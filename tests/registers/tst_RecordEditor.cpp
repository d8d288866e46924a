#include <sqlite3.h>

#include <QtTest>

#include "FakeRegisterView.h"
#include "RegisterFixture.h"
#include "data/DayName.h"
#include "data/DiaryDatabase.h"
#include "data/DiarySchema.h"
#include "engagements/ClashRule.h"
#include "platform/jet/JetError.h"
#include "registers/KeptDeletions.h"
#include "registers/RecordEditor.h"
#include "registers/RegisterMapping.h"
#include "registers/RegisterTexts.h"
#include "registers/UndoTexts.h"

using registers::ButtonStates;
using registers::RecordEditor;
using registers::RegisterMapping;
namespace texts = registers::texts;

namespace {

const QDateTime kNow(QDate(2026, 12, 7), QTime(21, 5, 42, 250));

const ButtonStates kBrowsing{true, true, false, true, true};
const ButtonStates kAdding{false, true, true, false, false};
const ButtonStates kAddingFirst{false, false, false, false, false};

// One open editor over a fake window.
struct Editor {
    FakeRegisterView view;
    RecordEditor editor;

    Editor(const RegisterMapping& mapping, const QString& path) : editor(mapping, view)
    {
        view.editor = &editor;
        editor.setClock([] { return kNow; });
        editor.OpenRegister(path);
    }
    void saveAnswering(bool yes)
    {
        view.answers << yes;
        editor.ImageSave_Click();
    }
    void deleteShown()
    {
        view.answers << true;
        editor.ImageDelete_Click();
    }
    void cancelNew()
    {
        view.answers << true;
        editor.ImageCancel_Click();
    }
    QByteArray topic() const { return view.shownText(4); }
};

// A diary whose register holds `rows` records, with an editor open on it.
struct Session {
    RegisterFixture db;
    std::unique_ptr<Editor> editor;

    Session(const RegisterMapping& mapping, int rows)
    {
        db.create();
        if (rows > 0)
            db.fill(mapping.table, rows);
        editor = std::make_unique<Editor>(mapping, db.databasePath());
    }
};

QList<QPair<int, QByteArray>> expectedRows(const QList<int>& originals)
{
    QList<QPair<int, QByteArray>> rows;
    for (int i = 0; i < originals.size(); ++i)
        rows.append({i + 1, RegisterFixture::topicOf(originals[i])});
    return rows;
}

QList<int> range(int from, int to)
{
    QList<int> r;
    for (int i = from; i <= to; ++i)
        r << i;
    return r;
}

} // namespace

class TestRecordEditor : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void opensEmptyRegisterAddingTheFirstRecord();
    void savesTheFirstRecordOfAnEmptyRegister();
    void opensOnTheFirstRecord();
    void refusesSaveWithoutRequiredFields_data();
    void refusesSaveWithoutRequiredFields();
    void newThenCancelEndsOnTheLastRecord();
    void newThenSaveAppendsRecordNPlusOne();
    void savingAChangedRecordRewritesItInPlace();
    void saveWithoutChangesRewritesTheSameValues();
    void deletingRenumbersTheRestInOrder_data();
    void deletingRenumbersTheRestInOrder();
    void deletingTheOnlyRecordStartsAddingTheFirst();
    void deletionKeepsTheWholeRecord_data();
    void deletionKeepsTheWholeRecord();
    void keepsTheNewestThousandDeletionsPerRegister();
    void navigationDiscardsUnsavedEdits();
    void answeringNoChangesNothing();
    void datePickerUpdatesTheWeekday();
    void refusesTextWithoutVarnelForm();
    void refusesNewAtTheNavigatorLimit();
    void failedRenumberingLeavesRegisterWhole();
    void failedSaveKeepsTheNewRecordPending();
    void deletionWhileAnotherProgramWritesFailsWhole();
    void tourKeepsDatesInOrder_data();
    void tourKeepsDatesInOrder();
    void tourNewRecordAndRequiredFields();
    void registersAreIndependent();
    void secondEditorSeesRowsSavedByTheFirst();
    void twoEditorsActOnTheRecordsAsStored_data();
    void twoEditorsActOnTheRecordsAsStored();
    void randomSessionsKeepSerialsDense();
    void undoTakesBackOneStepAtATime_data();
    void undoTakesBackOneStepAtATime();
    void clashWarningSavesOnYesAndKeepsTheFormOnNo();
};

// Records added at one moment would clash: only the clash test below counts minutes.
void TestRecordEditor::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    engagements::setClashMinutes(0);
}

void TestRecordEditor::opensEmptyRegisterAddingTheFirstRecord()
{
    Session s(RegisterMapping::local(), 0);
    Editor& e = *s.editor;

    QCOMPARE(e.editor.state(), RecordEditor::State::AddingFirst);
    QCOMPARE(e.view.buttons, kAddingFirst);
    QVERIFY(!e.view.navEnabled);
    QCOMPARE(e.view.serial, QStringLiteral("1"));
    QCOMPARE(e.view.dates.value(1), kNow.date());
    QCOMPARE(e.view.shownText(2), data::DayName(kNow.date()));
    QCOMPARE(e.view.times.value(3), QTime(21, 5)); // the minute shown, seconds 0
    for (int ordinal = 4; ordinal <= 9; ++ordinal)
        QVERIFY(e.view.shownText(ordinal).isEmpty());
}

void TestRecordEditor::savesTheFirstRecordOfAnEmptyRegister()
{
    Session s(RegisterMapping::local(), 0);
    RegisterFixture& db = s.db;
    Editor& e = *s.editor;
    e.view.type(4, QStringLiteral("ಸಭೆ"));
    e.view.type(5, QStringLiteral("ಪುರಭವನ"));
    e.saveAnswering(true);

    QCOMPARE(e.view.questions, QList<QByteArray>{registers::texts::saveQuestion});
    QCOMPARE(e.view.saveNotices, 1);
    QCOMPARE(e.editor.state(), RecordEditor::State::Browsing);
    QCOMPARE(e.view.buttons, kBrowsing);
    QVERIFY(e.view.navEnabled);
    QCOMPARE(e.view.navMax, 1);
    const QStringList stored = db.row("local", 1);
    QCOMPARE(stored.mid(0, 4),
             (QStringList{"1", "2026-12-07", varnel::toStoredText(data::DayName(kNow.date())),
                          "21:05:00"}));
    QCOMPARE(varnel::fromStoredText(stored[4]), varnel::encode(QStringLiteral("ಸಭೆ")).bytes);
    QCOMPARE(stored[6], QString()); // empty texts are stored as empty strings
}

void TestRecordEditor::opensOnTheFirstRecord()
{
    Session s(RegisterMapping::local(), 10);
    Editor& e = *s.editor;

    QCOMPARE(e.editor.state(), RecordEditor::State::Browsing);
    QCOMPARE(e.view.buttons, kBrowsing);
    QCOMPARE(e.view.serial, QStringLiteral("1"));
    QCOMPARE(e.topic(), RegisterFixture::topicOf(1));
    QCOMPARE(e.view.times.value(3), QTime(10, 30, 15));
    QCOMPARE(e.view.navMax, 10);
    QCOMPARE(e.view.navValue, 1);
    QVERIFY(e.view.navEnabled);
}

void TestRecordEditor::refusesSaveWithoutRequiredFields_data()
{
    QTest::addColumn<QString>("topic");
    QTest::addColumn<QString>("venue");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("empty topic") << QString() << QStringLiteral("ಸ್ಥಳ") << false;
    QTest::newRow("empty venue") << QStringLiteral("ವಿಷಯ") << QString() << false;
    QTest::newRow("both empty") << QString() << QString() << false;
    QTest::newRow("a blank is content") << QStringLiteral(" ") << QStringLiteral(" ") << true;
}

void TestRecordEditor::refusesSaveWithoutRequiredFields()
{
    QFETCH(QString, topic);
    QFETCH(QString, venue);
    QFETCH(bool, accepted);
    Session s(RegisterMapping::local(), 0);
    RegisterFixture& db = s.db;
    Editor& e = *s.editor;
    e.view.type(4, topic);
    e.view.type(5, venue);
    e.saveAnswering(true);

    if (accepted) {
        QVERIFY(e.view.messages.isEmpty());
        QCOMPARE(db.count("local"), 1);
    } else {
        QCOMPARE(e.view.messages, QList<QByteArray>{registers::texts::programmeDetailsMissing});
        QVERIFY(e.view.questions.isEmpty());
        QCOMPARE(db.count("local"), 0);
        QCOMPARE(e.editor.state(), RecordEditor::State::AddingFirst);
    }
}

void TestRecordEditor::newThenCancelEndsOnTheLastRecord()
{
    Session s(RegisterMapping::local(), 10);
    RegisterFixture& db = s.db;
    Editor& e = *s.editor;
    e.view.scrollTo(3);
    e.editor.ImageNew_Click();
    QCOMPARE(e.editor.state(), RecordEditor::State::Adding);
    QCOMPARE(e.view.buttons, kAdding);
    QVERIFY(!e.view.navEnabled);
    QCOMPARE(e.view.serial, QStringLiteral("11"));

    e.cancelNew();
    QCOMPARE(e.view.questions.last(), registers::texts::cancelQuestion);
    QCOMPARE(e.editor.state(), RecordEditor::State::Browsing);
    QCOMPARE(e.view.buttons, kBrowsing);
    QCOMPARE(e.view.newCaptionSwaps, 1);
    QCOMPARE(e.view.navValue, 10);
    QCOMPARE(e.view.serial, QStringLiteral("10"));
    QCOMPARE(e.topic(), RegisterFixture::topicOf(10));
    QCOMPARE(db.count("local"), 10);

    // Already on the last record: Cancel shows it again without moving the navigator.
    e.editor.ImageNew_Click();
    e.cancelNew();
    QCOMPARE(e.view.serial, QStringLiteral("10"));
    QCOMPARE(e.topic(), RegisterFixture::topicOf(10));
}

void TestRecordEditor::newThenSaveAppendsRecordNPlusOne()
{
    Session s(RegisterMapping::local(), 10);
    RegisterFixture& db = s.db;
    Editor& e = *s.editor;
    e.view.scrollTo(3);
    e.editor.ImageNew_Click();
    e.view.typeVarnel(4, RegisterFixture::topicOf(11));
    e.view.type(5, QStringLiteral("ಸ್ಥಳ"));
    e.saveAnswering(true);

    QCOMPARE(e.view.navMax, 11);
    QCOMPARE(e.view.navValue, 11);
    QCOMPARE(e.view.serial, QStringLiteral("11"));
    QCOMPARE(e.topic(), RegisterFixture::topicOf(11));
    QCOMPARE(db.rows("local"), expectedRows(range(1, 11)));
}

void TestRecordEditor::savingAChangedRecordRewritesItInPlace()
{
    Session s(RegisterMapping::local(), 10);
    RegisterFixture& db = s.db;
    Editor& e = *s.editor;
    e.view.scrollTo(4);
    e.view.typeVarnel(4, RegisterFixture::topicOf(44));
    e.saveAnswering(true);

    QCOMPARE(e.view.navValue, 4);
    QCOMPARE(e.view.serial, QStringLiteral("4"));
    QCOMPARE(e.topic(), RegisterFixture::topicOf(44));
    QCOMPARE(e.view.saveNotices, 1);
    QList<int> expected = range(1, 10);
    expected[3] = 44;
    QCOMPARE(db.rows("local"), expectedRows(expected));
}

void TestRecordEditor::saveWithoutChangesRewritesTheSameValues()
{
    RegisterFixture db;
    db.create();
    db.exec(
        QStringLiteral("INSERT INTO local VALUES (1, '2027-03-05', 'x', '09:05:59', "
                       "'¥ÀÄ¸ÀÛPÀ', '¥ÀÅ¸ÀÛPÀ', 'a', 'b', 'c', 'd')")); // a variant spelling of ಪು
    const QStringList before = db.row("local", 1);
    Editor e(RegisterMapping::local(), db.databasePath());
    e.saveAnswering(true);

    QCOMPARE(e.view.questions.size(), 1);
    QCOMPARE(e.view.saveNotices, 1);
    QCOMPARE(db.row("local", 1), before); // untouched bytes written back exactly
}

void TestRecordEditor::deletingRenumbersTheRestInOrder_data()
{
    QTest::addColumn<int>("deleted");
    QTest::newRow("first") << 1;
    QTest::newRow("middle") << 4;
    QTest::newRow("last") << 10;
}

void TestRecordEditor::deletingRenumbersTheRestInOrder()
{
    QFETCH(int, deleted);
    Session s(RegisterMapping::local(), 10);
    RegisterFixture& db = s.db;
    Editor& e = *s.editor;
    e.view.scrollTo(deleted);
    e.deleteShown();

    QCOMPARE(e.view.questions.last(), registers::texts::deleteQuestion);
    QList<int> expected = range(1, 10);
    expected.removeOne(deleted);
    QCOMPARE(db.rows("local"), expectedRows(expected));
    QCOMPARE(e.view.navMax, 9);
    QCOMPARE(e.view.navValue, 9);
    QCOMPARE(e.view.serial, QStringLiteral("9"));
    QCOMPARE(e.topic(), RegisterFixture::topicOf(expected.last()));
    QCOMPARE(e.editor.state(), RecordEditor::State::Browsing);
}

void TestRecordEditor::deletingTheOnlyRecordStartsAddingTheFirst()
{
    Session s(RegisterMapping::local(), 1);
    RegisterFixture& db = s.db;
    Editor& e = *s.editor;
    e.deleteShown();

    QCOMPARE(db.count("local"), 0);
    QCOMPARE(e.editor.state(), RecordEditor::State::AddingFirst);
    QCOMPARE(e.view.buttons, kAddingFirst);
    QCOMPARE(e.view.serial, QStringLiteral("1"));
    QVERIFY(!e.view.navEnabled);
}

void TestRecordEditor::deletionKeepsTheWholeRecord_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("deleted");
    QTest::newRow("local, first") << "local" << 1;
    QTest::newRow("outstation, middle") << "outstation" << 4;
    QTest::newRow("tour, last") << "tour" << 10;
}

// The record, its register, its number and the moment go into the kept deletions; an older
// diary (made without the table) gets the table then.
void TestRecordEditor::deletionKeepsTheWholeRecord()
{
    QFETCH(QString, table);
    QFETCH(int, deleted);
    const RegisterMapping& mapping = table == "tour"    ? RegisterMapping::tour()
                                     : table == "local" ? RegisterMapping::local()
                                                        : RegisterMapping::outstation();
    Session s(mapping, 10);
    s.editor->view.scrollTo(deleted);
    const QStringList before = s.db.row(table, deleted);
    s.editor->deleteShown();

    const QList<QStringList> kept =
        s.db.query(QStringLiteral("SELECT register_name, deleted_at, %1 FROM deleted_records")
                       .arg(data::registerColumns(table).join(QLatin1Char(','))));
    QCOMPARE(kept.size(), 1);
    QCOMPARE(kept[0].mid(0, 2), (QStringList{table, "2026-12-07 21:05:42"}));
    QCOMPARE(kept[0].mid(2), before);
}

void TestRecordEditor::keepsTheNewestThousandDeletionsPerRegister()
{
    Session s(RegisterMapping::local(), 3);
    for (const QString& statement : data::keptDeletionsStatements())
        s.db.exec(statement);
    const QString insert = QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %2) "
        "INSERT INTO deleted_records (register_name, sl_no, deleted_at, topic) "
        "SELECT '%1', i, '2026-01-01 00:00:00', 'old ' || i FROM n");
    s.db.exec(insert.arg("local").arg(1000));
    s.db.exec(insert.arg("tour").arg(5));
    s.editor->deleteShown();

    const QString ofLocal =
        QStringLiteral("SELECT count(*), min(topic) FROM deleted_records WHERE register_name = ");
    QCOMPARE(s.db.query(ofLocal + "'local'")[0], (QStringList{"1000", "old 10"})); // 1 went
    QCOMPARE(s.db.query(ofLocal + "'tour'")[0][0], "5");
}

void TestRecordEditor::navigationDiscardsUnsavedEdits()
{
    Session s(RegisterMapping::local(), 5);
    RegisterFixture& db = s.db;
    Editor& e = *s.editor;
    e.view.scrollTo(2);
    e.view.type(4, QStringLiteral("ಬದಲಾವಣೆ"));
    e.view.scrollTo(3);
    e.view.scrollTo(2);

    QVERIFY(e.view.questions.isEmpty());
    QCOMPARE(e.topic(), RegisterFixture::topicOf(2));
    QCOMPARE(db.rows("local"), expectedRows(range(1, 5)));
}

void TestRecordEditor::answeringNoChangesNothing()
{
    Session s(RegisterMapping::local(), 5);
    RegisterFixture& db = s.db;
    Editor& e = *s.editor;
    e.view.scrollTo(2);
    e.view.type(4, QStringLiteral("ಬದಲಾವಣೆ"));
    e.saveAnswering(false);
    e.view.answers << false;
    e.editor.ImageDelete_Click();
    e.editor.ImageNew_Click();
    e.view.answers << false;
    e.editor.ImageCancel_Click();

    QCOMPARE(e.view.questions.size(), 3);
    QCOMPARE(e.view.saveNotices, 0);
    QCOMPARE(e.editor.state(), RecordEditor::State::Adding);
    QCOMPARE(db.rows("local"), expectedRows(range(1, 5)));
}

void TestRecordEditor::datePickerUpdatesTheWeekday()
{
    Session s(RegisterMapping::local(), 1);
    Editor& e = *s.editor;
    e.view.dates[1] = QDate(2002, 1, 1);
    e.editor.DatePicker_Change(1);
    QCOMPARE(e.view.shownText(2), data::DayName(QDate(2002, 1, 1)));
}

void TestRecordEditor::refusesTextWithoutVarnelForm()
{
    Session s(RegisterMapping::local(), 2);
    RegisterFixture& db = s.db;
    Editor& e = *s.editor;
    e.view.type(6, QStringLiteral("MG Road ೧೨"));
    e.saveAnswering(true);

    QVERIFY(e.view.questions.isEmpty()); // refused before the question
    QCOMPARE(e.view.textMessages.size(), 1);
    QVERIFY(e.view.textMessages[0].contains(QLatin1Char('M')));
    QVERIFY(e.view.textMessages[0].contains(QStringLiteral("ವಿಳಾಸ"))); // names the field
    QCOMPARE(db.rows("local"), expectedRows(range(1, 2)));
    QCOMPARE(e.view.texts[6].typed, QStringLiteral("MG Road ೧೨")); // the field keeps its text
}

void TestRecordEditor::refusesNewAtTheNavigatorLimit()
{
    Session s(RegisterMapping::outstation(), RecordEditor::kMaximumRecords);
    RegisterFixture& db = s.db;
    Editor& e = *s.editor;
    QCOMPARE(e.view.navMax, RecordEditor::kMaximumRecords);
    e.editor.ImageNew_Click();

    QCOMPARE(e.view.textMessages.size(), 1);
    QCOMPARE(e.editor.state(), RecordEditor::State::Browsing);
    QCOMPARE(db.count("outstation"), RecordEditor::kMaximumRecords);

    // One deletion makes room again.
    e.deleteShown();
    e.editor.ImageNew_Click();
    QCOMPARE(e.editor.state(), RecordEditor::State::Adding);
    QCOMPARE(e.view.serial, QString::number(RecordEditor::kMaximumRecords));
}

void TestRecordEditor::failedRenumberingLeavesRegisterWhole()
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

void TestRecordEditor::failedSaveKeepsTheNewRecordPending()
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
void TestRecordEditor::deletionWhileAnotherProgramWritesFailsWhole()
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

void TestRecordEditor::tourKeepsDatesInOrder_data()
{
    QTest::addColumn<int>("changed");     // 3 departure, 6 arrival
    QTest::addColumn<QDate>("departure"); // the values after the user's change
    QTest::addColumn<QDate>("arrival");
    QTest::addColumn<QDate>("expectedDeparture");
    QTest::addColumn<QDate>("expectedArrival");
    const QDate d10(2027, 3, 10), d12(2027, 3, 12), d8(2027, 3, 8);
    QTest::newRow("departure past arrival") << 3 << d12 << d10 << d12 << d12;
    QTest::newRow("arrival before departure") << 6 << d10 << d8 << d8 << d8;
    QTest::newRow("in order stays") << 3 << d8 << d10 << d8 << d10;
    QTest::newRow("equal days stay") << 6 << d10 << d10 << d10 << d10;
}

void TestRecordEditor::tourKeepsDatesInOrder()
{
    QFETCH(int, changed);
    QFETCH(QDate, departure);
    QFETCH(QDate, arrival);
    QFETCH(QDate, expectedDeparture);
    QFETCH(QDate, expectedArrival);
    Session s(RegisterMapping::tour(), 1);
    Editor& e = *s.editor;
    e.view.dates[3] = departure;
    e.view.dates[6] = arrival;
    e.editor.DatePicker_Change(changed);

    QCOMPARE(e.view.dates[3], expectedDeparture);
    QCOMPARE(e.view.dates[6], expectedArrival);
    QCOMPARE(e.view.shownText(4), data::DayName(expectedDeparture));
    QCOMPARE(e.view.shownText(7), data::DayName(expectedArrival));
}

void TestRecordEditor::tourNewRecordAndRequiredFields()
{
    Session s(RegisterMapping::tour(), 2);
    RegisterFixture& db = s.db;
    Editor& e = *s.editor;
    e.editor.ImageNew_Click();
    QCOMPARE(e.view.serial, QStringLiteral("3"));
    QCOMPARE(e.view.dates[3], kNow.date());
    QCOMPARE(e.view.dates[6], kNow.date());
    QCOMPARE(e.view.times[5], QTime(21, 5));
    QCOMPARE(e.view.times[8], QTime(21, 5));
    QCOMPARE(e.view.shownText(4), data::DayName(kNow.date()));
    QCOMPARE(e.view.shownText(7), data::DayName(kNow.date()));

    e.view.type(1, QStringLiteral("ಮಂಗಳೂರು"));
    e.saveAnswering(true); // no destination
    QCOMPARE(e.view.messages, QList<QByteArray>{registers::texts::tourDetailsMissing});
    QCOMPARE(db.count("tour"), 2);

    // Arrival on the same day at an earlier time than departure is accepted.
    e.view.type(2, QStringLiteral("ಬೆಳಗಾವಿ"));
    e.view.times[5] = QTime(18, 0);
    e.view.times[8] = QTime(7, 30);
    e.saveAnswering(true);
    const QStringList stored = db.row("tour", 3);
    QCOMPARE(stored.size(), 11);
    QCOMPARE(stored[5], QStringLiteral("18:00:00"));
    QCOMPARE(stored[8], QStringLiteral("07:30:00"));
    QCOMPARE(stored[9], QString()); // mode of travel may be empty
}

void TestRecordEditor::registersAreIndependent()
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

void TestRecordEditor::secondEditorSeesRowsSavedByTheFirst()
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

void TestRecordEditor::twoEditorsActOnTheRecordsAsStored_data()
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

void TestRecordEditor::twoEditorsActOnTheRecordsAsStored()
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
void TestRecordEditor::randomSessionsKeepSerialsDense()
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

// Window A and window B (another window or copy) on one local register. The script's words:
// dN delete record N, cN change record N, a add, sN scroll to N, r restore the newest kept
// deletion (as the recently-deleted window does), u undo answering Yes, n undo answering No;
// "B:" marks B's acts. A's topics are 100, 101, ..., B's 200, 201, ...
void TestRecordEditor::undoTakesBackOneStepAtATime_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QList<int>>("expected"); // topics in serial order at the end
    QTest::addColumn<QString>("notice");      // what A's last undo said, if anything

    const auto with = [](QList<int> l, int at, int v) {
        l[at - 1] = v;
        return l;
    };
    const auto without = [](QList<int> l, int v) {
        l.removeOne(v);
        return l;
    };
    const QString none;
    QTest::newRow("delete the first, undo") << 10 << "d1 u" << range(1, 10) << none;
    QTest::newRow("delete a middle one, undo") << 10 << "d4 u" << range(1, 10) << none;
    QTest::newRow("delete the last, undo") << 10 << "d10 u" << range(1, 10) << none;
    QTest::newRow("delete the only one, undo") << 1 << "d1 u" << range(1, 1) << none;
    QTest::newRow("save a change, undo") << 10 << "c4 u" << range(1, 10) << none;
    QTest::newRow("save a new record, undo") << 10 << "a u" << range(1, 10) << none;
    QTest::newRow("two steps back, the last first") << 10 << "c2 d5 u u" << range(1, 10) << none;
    QTest::newRow("No changes nothing and keeps the step")
        << 10 << "d4 n" << without(range(1, 10), 4) << none;
    QTest::newRow("No, then Yes") << 10 << "d4 n u" << range(1, 10) << none;
    QTest::newRow("back at its number after another copy renumbered")
        << 10 << "d7 B:d3 u" << QList<int>{1, 2, 4, 5, 6, 8, 7, 9, 10} << none;
    QTest::newRow("after the last record when the register is shorter now")
        << 10 << "d10 B:d1 B:d1 u" << range(3, 10) << none;
    QTest::newRow("another copy changed the saved record")
        << 10 << "c4 B:c4 u" << with(range(1, 10), 4, 200) << texts::undoChangedMeanwhileNotice();
    QTest::newRow("another copy deleted the saved record")
        << 10 << "c4 B:d4 u" << without(range(1, 10), 4) << texts::undoDeletedMeanwhileNotice();
    QTest::newRow("another copy deleted the added record")
        << 10 << "a B:s2 B:d11 u" << range(1, 10) << texts::undoDeletedMeanwhileNotice();
    QTest::newRow("another copy brought the deletion back first")
        << 10 << "d4 B:r u" << range(1, 10) << texts::undoAlreadyRestoredNotice();
    QList<int> full = range(2, 4) + QList{6, 5} + range(7, RecordEditor::kMaximumRecords);
    QTest::newRow("a full register refuses, then takes it once there is room")
        << RecordEditor::kMaximumRecords << "d5 B:s2 B:a u B:d1 u" << full + QList{200} << none;
}

void TestRecordEditor::undoTakesBackOneStepAtATime()
{
    QFETCH(int, records);
    QFETCH(QString, script);
    QFETCH(QList<int>, expected);
    QFETCH(QString, notice);
    Session s(RegisterMapping::local(), records);
    Editor& a = *s.editor;
    Editor b(RegisterMapping::local(), s.db.databasePath());
    int topics[2] = {100, 200};
    QString lastNotice;
    for (const QString& word : script.split(QLatin1Char(' '))) {
        const bool other = word.startsWith(QLatin1String("B:"));
        Editor& e = other ? b : a;
        const QString act = word.mid(other ? 2 : 0);
        const int n = act.mid(1).toInt();
        switch (act[0].toLatin1()) {
        case 'd':
            e.view.scrollTo(n);
            e.deleteShown();
            break;
        case 'c':
            e.view.scrollTo(n);
            e.view.typeVarnel(4, RegisterFixture::topicOf(topics[other]++));
            e.saveAnswering(true);
            break;
        case 'a':
            e.editor.ImageNew_Click();
            e.view.typeVarnel(4, RegisterFixture::topicOf(topics[other]++));
            e.view.type(5, QStringLiteral("ಸ್ಥಳ"));
            e.saveAnswering(true);
            break;
        case 's': e.view.scrollTo(n); break;
        case 'r': {
            auto db = data::OpenDiaryDatabase(s.db.databasePath());
            registers::KeptDeletions kept(*db, QStringLiteral("local"));
            QCOMPARE(kept.restore(kept.list().first().id).outcome,
                     registers::KeptDeletions::Outcome::Restored);
            break;
        }
        default: { // u, n: a question is asked exactly when nothing stands in the way
            const qsizetype asked = e.view.questions.size();
            const qsizetype told = e.view.textMessages.size();
            e.view.answers << (act == QLatin1String("u"));
            e.editor.Undo_Click();
            QCOMPARE(e.view.questions.size() - asked, 1 - (e.view.textMessages.size() - told));
            lastNotice = e.view.textMessages.size() > told ? e.view.textMessages.last() : QString();
            break;
        }
        }
    }
    QCOMPARE(s.db.rows("local"), expectedRows(expected));
    QCOMPARE(lastNotice, notice);
    QCOMPARE(a.editor.canUndo(), script.endsWith(QLatin1Char('n'))); // a refused step is gone
    // A shows a record of the register as stored now under its number.
    QCOMPARE(a.editor.state(), RecordEditor::State::Browsing);
    QCOMPARE(a.view.navMax, int(expected.size()));
    QCOMPARE(a.view.serial, QString::number(a.view.navValue));
    QCOMPARE(a.topic(), RegisterFixture::topicOf(expected[a.view.navValue - 1]));
}

// The stored rows are both at 10:30:15 on 2027-01-01, so they clash with each other and with a
// new record at 11:00; a change of text alone is not checked, a change of time is.
void TestRecordEditor::clashWarningSavesOnYesAndKeepsTheFormOnNo()
{
    engagements::setClashMinutes(engagements::kDefaultClashMinutes);
    const auto back = qScopeGuard([] { engagements::setClashMinutes(0); });
    Session s(RegisterMapping::local(), 2);
    Editor& e = *s.editor;
    const QString clashIntro = QStringLiteral(u"ಈ ದಾಖಲೆಯು ಇವುಗಳೊಂದಿಗೆ ಘರ್ಷಿಸುತ್ತದೆ:");
    e.editor.ImageNew_Click();
    e.view.setDate(1, QDate(2027, 1, 1));
    e.view.setTime(3, QTime(11, 0));
    e.view.type(4, QStringLiteral("ಸಭೆ"));
    e.view.type(5, QStringLiteral("ಪುರಭವನ"));
    e.view.answers << true << false;
    e.editor.ImageSave_Click();
    QVERIFY(varnel::decode(e.view.questions.last()).startsWith(clashIntro));
    QCOMPARE(s.db.count("local"), 2);
    QCOMPARE(e.editor.state(), RecordEditor::State::Adding);
    QCOMPARE(e.view.texts[4].typed, QStringLiteral("ಸಭೆ"));
    QCOMPARE(e.view.times[3], QTime(11, 0));

    e.view.answers << true << true;
    e.editor.ImageSave_Click();
    QCOMPARE(s.db.count("local"), 3);
    QCOMPARE(e.view.serial, QStringLiteral("3"));

    e.view.scrollTo(1);
    e.view.type(4, QStringLiteral("ಸಮಿತಿ"));
    const qsizetype asked = e.view.questions.size();
    e.saveAnswering(true);
    QCOMPARE(e.view.questions.size(), asked + 1);
    e.view.setTime(3, QTime(10, 45));
    e.view.answers << true << false;
    e.editor.ImageSave_Click();
    QVERIFY(varnel::decode(e.view.questions.last()).startsWith(clashIntro));
    QCOMPARE(e.view.times[3], QTime(10, 45));
}

QTEST_GUILESS_MAIN(TestRecordEditor)
#include "tst_RecordEditor.moc"
