#include <QtTest>

#include "RecordEditorFixture.h"
#include "data/DayName.h"
#include "data/DiarySchema.h"
#include "engagements/ClashRule.h"
#include "registers/RegisterTexts.h"

using registers::RecordEditor;
using registers::RegisterMapping;

// The editor's own steps on one register: opening, browsing, adding, saving, deleting.
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
    void tourKeepsDatesInOrder_data();
    void tourKeepsDatesInOrder();
    void tourNewRecordAndRequiredFields();
    void clashWarningSavesOnYesAndKeepsTheFormOnNo();
};

void TestRecordEditor::initTestCase()
{
    startRecordEditorTests();
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
