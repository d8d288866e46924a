#include <QtTest>

#include "RecordEditorFixture.h"
#include "data/DiaryDatabase.h"
#include "registers/KeptDeletions.h"
#include "registers/UndoTexts.h"

using registers::RecordEditor;
using registers::RegisterMapping;
namespace texts = registers::texts;

// The record editor's undo, alone and with another editor acting on the same register.
class TestRecordEditorUndo : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void undoTakesBackOneStepAtATime_data();
    void undoTakesBackOneStepAtATime();
};

void TestRecordEditorUndo::initTestCase()
{
    startRecordEditorTests();
}

// Window A and window B (another window or copy) on one local register. The script's words:
// dN delete record N, cN change record N, a add, sN scroll to N, r restore the newest kept
// deletion (as the recently-deleted window does), u undo answering Yes, n undo answering No;
// "B:" marks B's acts. A's topics are 100, 101, ..., B's 200, 201, ...
void TestRecordEditorUndo::undoTakesBackOneStepAtATime_data()
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

void TestRecordEditorUndo::undoTakesBackOneStepAtATime()
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

QTEST_GUILESS_MAIN(TestRecordEditorUndo)
#include "tst_RecordEditorUndo.moc"
