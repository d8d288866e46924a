#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QtTest>

#include "SearchDiary.h"
#include "data/DiaryDatabase.h"
#include "platform/jet/Database.h"
#include "platform/jet/Transaction.h"
#include "search/ui/SearchGrid.h"
#include "search/ui/SearchWindows.h"
#include "search/ui/frmfind1.h"
#include "search/ui/frmfind2.h"
#include "search/ui/frmfind3.h"
#include "shell/DialogScript.h"
#include "shell/ImageButton.h"
#include "shell/ImageButtonPanel.h"
#include "shell/VelmoraApplication.h"
#include "shell/WindowRegistry.h"
#include "shell/frmMDI.h"
#include "shell/frmMenu.h"
#include "widgets/DateTimePicker.h"
#include "widgets/KannadaDateTimeEdit.h"
#include "widgets/VarnelLabel.h"
#include "widgets/VarnelLineEdit.h"

// The real search windows on the offscreen platform, over the sample diary: boxes ticked,
// places typed through an input method, the search button clicked, the grid read back.
class TestSearchWindows : public QObject {
    Q_OBJECT

private slots:
    void opensWithEveryBoundInForceAndTheWholeList();
    void boxesAndTheDateOrderRule();
    void datesTypedDayFirstAreOrderedWhenCommitted();
    void searchButtonListsTheBoundsInForce();
    void timeBoundsTakeWholeMinutes_data();
    void timeBoundsTakeWholeMinutes();
    void tourPlacesTypedInKannada();
    void aPlaceThatCannotBeSearchedIsExplained_data();
    void aPlaceThatCannotBeSearchedIsExplained();
    void theSecondMenuOpensEachSearchOnce();
    void comingToTheFrontListsWhatOthersChanged();
    void anUnreadableDiaryIsReportedAndNoWindowIsLeft();

private:
    // Entry `entry` of the lists pop-up, as a click on the strip and then on the entry.
    static void chooseList(frmMDI& mdi, int entry)
    {
        mdi.Label2_Click();
        QVERIFY(mdi.popup(2));
        mdi.popup(2)->Label1_Click(entry);
    }
    static void clickFind(search::SearchWindow& w)
    {
        QTest::mouseClick(w.buttons()->button(QStringLiteral("ImageFind"))->icon(), Qt::LeftButton);
    }
    static QString cell(search::SearchWindow& w, int row, int column)
    {
        return w.grid()->model()->index(row, column).data().toString();
    }
    static QList<int> shownSerials(search::SearchWindow& w)
    {
        QList<int> serials;
        for (const data::Record& r : w.shownRecords())
            serials << r.serial();
        return serials;
    }
    static void commit(QWidget* field, const QString& text)
    {
        QInputMethodEvent event;
        event.setCommitString(text);
        QCoreApplication::sendEvent(field, &event);
    }
};

void TestSearchWindows::opensWithEveryBoundInForceAndTheWholeList()
{
    SearchDiary diary;
    diary.loadSample();
    frmfind1 w;
    w.show();
    QVERIFY(w.windowState() & Qt::WindowMaximized);
    for (int i = 0; i < 2; ++i) {
        QVERIFY(w.CheckDate[i]->isChecked() && w.CheckTime[i]->isChecked());
        QVERIFY(w.DTPickerDate[i]->isEnabled() && w.DTPickerTime[i]->isEnabled());
        QCOMPARE(w.DTPickerDate[i]->Value().date(), QDate::currentDate());
    }
    QCOMPARE(w.grid()->model()->rowCount(), 60);
    QCOMPARE(cell(w, 0, 0), QStringLiteral("೧"));
    QCOMPARE(cell(w, 59, 0), QStringLiteral("೬೦"));
    QCOMPARE(w.countLine()->text(), QStringLiteral(u"ಪಟ್ಟಿಯಲ್ಲಿ ೬೦ ದಾಖಲೆಗಳಿವೆ"));
    // Ordered by date, then time; the grid's font and fixed row height serve every row.
    const QList<data::Record>& rows = w.shownRecords();
    for (int i = 1; i < rows.size(); ++i)
        QVERIFY(std::pair(rows[i - 1].value(1).toDate(), rows[i - 1].value(3).toTime()) <=
                std::pair(rows[i].value(1).toDate(), rows[i].value(3).toTime()));
    QCOMPARE(w.grid()->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    // No header is clipped.
    const QFontMetrics header = w.grid()->horizontalHeader()->fontMetrics();
    for (int c = 0; c < 10; ++c)
        QVERIFY(
            w.grid()->columnWidth(c) >=
            header.horizontalAdvance(w.grid()->model()->headerData(c, Qt::Horizontal).toString()));
    QCOMPARE(w.grid()->geometry().topLeft(), QPoint(24, 136)); // (360, 2040) twips

    // Hovering the search button shows its own bracket and caption only.
    w.buttons()->button(QStringLiteral("ImageFind"))->hover();
    QVERIFY(w.findChild<QWidget*>(QStringLiteral("Label0(1)"))->isVisible());
    QVERIFY(w.findChild<QWidget*>(QStringLiteral("Line0(3)"))->isVisible());
    QVERIFY(!w.findChild<QWidget*>(QStringLiteral("Label0(2)"))->isVisible());
    QVERIFY(!w.findChild<QWidget*>(QStringLiteral("Line0(4)"))->isVisible());

    // Tab walks the bounds in their documented order, then reaches the grid.
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.CheckDate[0]->setFocus(Qt::TabFocusReason);
    const QList<QWidget*> order = {w.DTPickerDate[0], w.CheckTime[0],    w.DTPickerTime[0],
                                   w.CheckDate[1],    w.DTPickerDate[1], w.CheckTime[1],
                                   w.DTPickerTime[1], w.grid()};
    for (QWidget* next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY2(next == QApplication::focusWidget() ||
                     next->isAncestorOf(QApplication::focusWidget()),
                 qPrintable(next->objectName()));
    }
}

void TestSearchWindows::boxesAndTheDateOrderRule()
{
    SearchDiary diary;
    frmfind2 w;
    w.show();
    const QDateTime march10(QDate(2027, 3, 10), QTime(0, 0)),
        march12(QDate(2027, 3, 12), QTime(0, 0));
    // A box is ticked exactly while its bound is in force: one click switches it.
    QTest::mouseClick(w.CheckTime[0], Qt::LeftButton);
    QVERIFY(!w.CheckTime[0]->isChecked() && !w.DTPickerTime[0]->isEnabled());
    QTest::mouseClick(w.CheckTime[0], Qt::LeftButton);
    QVERIFY(w.CheckTime[0]->isChecked() && w.DTPickerTime[0]->isEnabled());

    // With date-to in force at 10 March, moving date-from to the 12th brings it back.
    w.DTPickerDate[0]->setValue(march10);
    w.DTPickerDate[1]->setValue(march10);
    w.DTPickerDate[0]->editor()->setFocus();
    w.DTPickerDate[0]->editor()->setSelectedSection(QDateTimeEdit::DaySection);
    QTest::keyClick(w.DTPickerDate[0]->editor(), Qt::Key_Up);
    QCOMPARE(w.DTPickerDate[0]->Value().date(), march10.date());
    // With date-to out of force, date-from stays where the user puts it.
    QTest::mouseClick(w.CheckDate[1], Qt::LeftButton);
    QVERIFY(!w.DTPickerDate[1]->isEnabled());
    w.DTPickerDate[0]->setValue(march12);
    QTest::keyClick(w.DTPickerDate[0]->editor(), Qt::Key_Down);
    QTest::keyClick(w.DTPickerDate[0]->editor(), Qt::Key_Up);
    QCOMPARE(w.DTPickerDate[0]->Value().date(), march12.date());
    // Ticking date-to again brings it up to date-from, which is in force.
    QTest::mouseClick(w.CheckDate[1], Qt::LeftButton);
    QVERIFY(w.DTPickerDate[1]->isEnabled());
    QCOMPARE(w.DTPickerDate[1]->Value().date(), march12.date());
    QCOMPARE(w.DTPickerDate[0]->Value().date(), march12.date());
}

// Typed day first: 15/01/2026 on the way to 15/01/2027 moves nothing; a committed one does.
void TestSearchWindows::datesTypedDayFirstAreOrderedWhenCommitted()
{
    SearchDiary diary;
    frmfind1 w;
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    const QDate march1(2026, 3, 1);
    for (varnel::DateTimePicker* picker : w.DTPickerDate)
        picker->setValue(QDateTime(march1, QTime(0, 0)));
    const auto type = [&w](const QString& digits) {
        w.grid()->setFocus();
        w.DTPickerDate[1]->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(QApplication::focusWidget(), digits);
    };
    type(QStringLiteral("15012027"));
    QCOMPARE(w.DTPickerDate[1]->Value().date(), QDate(2027, 1, 15));
    QCOMPARE(w.DTPickerDate[0]->Value().date(), march1);
    type(QStringLiteral("15012026"));
    QCOMPARE(w.DTPickerDate[1]->Value().date(), march1);
    QVERIFY(w.DTPickerDate[1]->isHighlighted());
}

void TestSearchWindows::searchButtonListsTheBoundsInForce()
{
    SearchDiary diary;
    diary.addProgramme(QStringLiteral("local"), 1, QDate::currentDate(), QTime(0, 0, 1));
    frmfind1 w;
    w.show();
    QCOMPARE(w.grid()->model()->rowCount(), 1);
    // Untouched: all four bounds, today at the time of opening to the second.
    clickFind(w);
    QCOMPARE(w.grid()->model()->rowCount(), 0);
    QVERIFY(w.session().statement().contains(QStringLiteral("tarna_time<=timevalue(")));

    QCOMPARE(w.countLine()->text(), QStringLiteral(u"ಹುಡುಕಿದುದಕ್ಕೆ ಹೊಂದುವ ದಾಖಲೆ ಯಾವುದೂ ಇಲ್ಲ"));

    // Every box cleared: the whole register again, with a row saved meanwhile.
    diary.addProgramme(QStringLiteral("local"), 2, QDate(2020, 1, 1), QTime(8, 0));
    for (QCheckBox* box : {w.CheckDate[0], w.CheckDate[1], w.CheckTime[0], w.CheckTime[1]})
        QTest::mouseClick(box, Qt::LeftButton);
    clickFind(w);
    QCOMPARE(w.session().statement(),
             QStringLiteral("Select * from local order by tarna_date,tarna_time"));
    QCOMPARE(shownSerials(w), (QList<int>{2, 1}));
    QCOMPARE(cell(w, 0, 1), QStringLiteral("೦೧/೦೧/೨೦೨೦"));
}

void TestSearchWindows::timeBoundsTakeWholeMinutes_data()
{
    // Stored at 09:59:59, 10:00:00, 10:00:37, 10:00:59, 10:01:00 (serials 1 to 5). The pickers
    // carry seconds nobody sees (the time of opening); they show HH:mm.
    QTest::addColumn<QTime>("from");
    QTest::addColumn<QTime>("to");
    QTest::addColumn<QList<int>>("listed");
    QTest::newRow("10:00 to 10:00") << QTime(10, 0, 45) << QTime(10, 0, 12) << QList<int>{2, 3, 4};
    QTest::newRow("09:59 to 10:00") << QTime(9, 59, 30) << QTime(10, 0) << QList<int>{1, 2, 3, 4};
    QTest::newRow("from after to: none") << QTime(10, 1) << QTime(10, 0, 59) << QList<int>{};
}

void TestSearchWindows::timeBoundsTakeWholeMinutes()
{
    QFETCH(QTime, from);
    QFETCH(QTime, to);
    SearchDiary diary;
    int serial = 0;
    for (QTime t :
         {QTime(9, 59, 59), QTime(10, 0), QTime(10, 0, 37), QTime(10, 0, 59), QTime(10, 1)})
        diary.addProgramme(QStringLiteral("local"), ++serial, QDate::currentDate(), t);
    frmfind1 w; // the date bounds: today
    w.DTPickerTime[0]->setValue(QDateTime(QDate(1899, 12, 30), from));
    w.DTPickerTime[1]->setValue(QDateTime(QDate(1899, 12, 30), to));
    clickFind(w);
    QTEST(shownSerials(w), "listed");
}

void TestSearchWindows::tourPlacesTypedInKannada()
{
    SearchDiary diary;
    diary.addTour(1, QStringLiteral("ಬೆಂಗಳೂರು"), QStringLiteral("ಮೈಸೂರು"), QDate(2027, 3, 1),
                  QDate(2027, 3, 10));
    diary.addTour(2, QStringLiteral("ಮಂಗಳೂರು"), QStringLiteral("ಬೆಂಗಳೂರು"), QDate(2027, 3, 2),
                  QDate(2027, 3, 2));
    frmfind3 w;
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(shownSerials(w), (QList<int>{1, 2}));
    for (QCheckBox* box : {w.CheckDate[0], w.CheckDate[1]})
        QTest::mouseClick(box, Qt::LeftButton);
    w.TxtFrom->setFocus(Qt::TabFocusReason);
    commit(w.TxtFrom, QStringLiteral("ಬ"));
    clickFind(w);
    QCOMPARE(shownSerials(w), QList<int>{1});
    QCOMPARE(cell(w, 0, 2), QStringLiteral("ಮೈಸೂರು"));

    // Entering the box again selects its text, so typing replaces it.
    w.TxtTo->setFocus(Qt::TabFocusReason);
    w.TxtFrom->setFocus(Qt::TabFocusReason);
    QCOMPARE(w.TxtFrom->selectedText(), QStringLiteral("ಬ"));
    commit(w.TxtFrom, QStringLiteral("ಮಂ"));
    QCOMPARE(w.TxtFrom->text(), QStringLiteral("ಮಂ"));
    clickFind(w);
    QCOMPARE(shownSerials(w), QList<int>{2});
}

void TestSearchWindows::aPlaceThatCannotBeSearchedIsExplained_data()
{
    QTest::addColumn<bool>("toBox");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("says");
    QTest::newRow("Latin letters") << true << "Mysore" << QStringLiteral(u"«ಎಲ್ಲಿಗೆ»");
    QTest::newRow("[ without ]") << false << QStringLiteral(u"ಬೆಂ[ಗ")
                                 << QStringLiteral(u"«ಎಲ್ಲಿಂದ» ಪೆಟ್ಟಿಗೆಯಲ್ಲಿ: [ ಇದೆ");
    QTest::newRow("[z-a]") << false << QStringLiteral(u"[ಕ-ಅ]") << QStringLiteral(u"ತಲೆಕೆಳಗಾಗಿದೆ");
}

// Refused before any statement runs, in Kannada, naming the box; nothing was being saved.
void TestSearchWindows::aPlaceThatCannotBeSearchedIsExplained()
{
    QFETCH(bool, toBox);
    QFETCH(QString, typed);
    QFETCH(QString, says);
    SearchDiary diary;
    diary.addTour(1, QStringLiteral("ಬೆಂಗಳೂರು"), QStringLiteral("ಮೈಸೂರು"), QDate(2027, 3, 1),
                  QDate(2027, 3, 10));
    frmfind3 w;
    w.show();
    const QString before = w.session().statement();
    commit(toBox ? w.TxtTo : w.TxtFrom, typed);
    DialogScript script;
    clickFind(w);
    QCOMPARE(script.texts.size(), 1);
    QVERIFY2(script.texts[0].contains(says), qPrintable(script.texts[0]));
    QVERIFY(!script.texts[0].contains(QStringLiteral(u"ಉಳಿಸಿಲ್ಲ"))); // "nothing saved"
    QCOMPARE(w.session().statement(), before);                    // no search ran
    QCOMPARE(shownSerials(w), QList<int>{1});
}

void TestSearchWindows::theSecondMenuOpensEachSearchOnce()
{
    SearchDiary diary;
    diary.loadSample();
    search::registerWindows();
    frmMDI mdi;
    mdi.show();
    const auto choose = [&mdi](int entry) { chooseList(mdi, entry); };
    choose(0);
    choose(1);
    choose(2);
    auto* tours = qobject_cast<frmfind3*>(childWindow(QStringLiteral("frmfind3")));
    QVERIFY(tours);
    QCOMPARE(tours->grid()->model()->rowCount(), 20);
    QVERIFY(qobject_cast<frmfind2*>(childWindow(QStringLiteral("frmfind2"))));
    auto* local = qobject_cast<frmfind1*>(childWindow(QStringLiteral("frmfind1")));
    QVERIFY(local);
    QTest::mouseClick(local->CheckDate[0], Qt::LeftButton);
    choose(0);
    QCOMPARE(childWindow(QStringLiteral("frmfind1")), local);
    QVERIFY(!local->DTPickerDate[0]->isEnabled()); // brought forward unchanged
    QCOMPARE(mdi.mdiArea()->subWindowList().size(), 3);
    QCOMPARE(mdi.mdiArea()->activeSubWindow()->widget(), local);
}

// Another program deletes records while the list is open (a restore, another desk): the list
// shows what is stored once its window comes to the front again.
void TestSearchWindows::comingToTheFrontListsWhatOthersChanged()
{
    SearchDiary diary;
    diary.loadSample();
    search::registerWindows();
    frmMDI mdi;
    mdi.show();
    const auto choose = [&mdi](int entry) { chooseList(mdi, entry); };
    choose(2);
    choose(0);
    auto* tours = qobject_cast<frmfind3*>(childWindow(QStringLiteral("frmfind3")));
    QVERIFY(tours);
    QCOMPARE(tours->grid()->model()->rowCount(), 20);
    {
        auto other = data::OpenDiaryDatabase(diary.diaryPath());
        jet::Transaction transaction(*other);
        other->Execute(QStringLiteral("DELETE FROM tour WHERE sl_no > 15"));
        transaction.commit();
    }
    QCOMPARE(tours->grid()->model()->rowCount(), 20); // behind, until it comes forward
    choose(2);
    QCOMPARE(mdi.mdiArea()->activeSubWindow()->widget(), tours);
    QCOMPARE(tours->grid()->model()->rowCount(), 15);
    QVERIFY(!tours->grid()->tabKeyNavigation()); // Tab leaves the list for the buttons
}

void TestSearchWindows::anUnreadableDiaryIsReportedAndNoWindowIsLeft()
{
    TempProgramFolder folder;
    QFile file(folder.filePath(QStringLiteral("Tarnalist.mdb")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    search::registerWindows();
    frmMDI mdi;
    mdi.show();
    DialogScript script;
    mdi.Label2_Click();
    QTest::mouseClick(mdi.popup(2)->Label1[2], Qt::LeftButton);
    QCOMPARE(script.texts.size(), 1);
    QVERIFY(script.texts[0].contains(QStringLiteral("Tarnalist.mdb")));
    QVERIFY(!childWindow(QStringLiteral("frmfind3")));
    QVERIFY(mdi.mdiArea()->subWindowList().isEmpty());
    QCOMPARE(file.size(), 4096);
}

int main(int argc, char** argv)
{
    VelmoraApplication app(argc, argv);
    TestSearchWindows test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_search_windows.moc"
