#include <functional>
#include <memory>

#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableWidget>
#include <QtTest>

#include "RegisterFixture.h"
#include "data/DayName.h"
#include "data/ProgramFolder.h"
#include "platform/varnel/VarnelCodec.h"
#include "registers/RegisterTexts.h"
#include "registers/ui/RecentlyDeletedWindow.h"
#include "registers/ui/RegisterWindows.h"
#include "registers/ui/frmlocal.h"
#include "registers/ui/frmoutstation.h"
#include "registers/ui/frmtour.h"
#include "shell/DialogScript.h"
#include "shell/ImageButton.h"
#include "shell/ImageButtonPanel.h"
#include "shell/VelmoraApplication.h"
#include "shell/WindowRegistry.h"
#include "shell/frmMDI.h"
#include "shell/frmMenu.h"
#include "shell/frmquestion.h"
#include "widgets/DateTimePicker.h"
#include "widgets/KannadaDateTimeEdit.h"
#include "widgets/VarnelLabel.h"
#include "widgets/VarnelTextEdit.h"

// The real register windows on the offscreen platform: buttons clicked, Kannada typed through
// an input method, the real question dialog answered, then the diary file read back.
class TestRegisterWindows : public QObject {
    Q_OBJECT

private slots:
    void addsARecordTypedThroughAnInputMethod();
    void newCancelAndDeleteThroughTheButtons();
    void buttonStatesFollowTheEditor();
    void navigatorShowsTheRecordOfItsValue();
    void tourDatePickersKeepTheirOrder();
    void anUnreadableDiaryIsReportedAndNoWindowIsLeft();
    void theFirstMenuOpensEachRegisterOnce();
    void frameGroundResetsTheButtonsButAFieldDoesNot();
    void restoredWindowShowsItsWholeForm_data();
    void restoredWindowShowsItsWholeForm();
    void readOnlyBoxesReadLikeTheOtherFields_data();
    void readOnlyBoxesReadLikeTheOtherFields();
    void tabGoesThroughTheFieldsInTheirOrder_data();
    void tabGoesThroughTheFieldsInTheirOrder();
    void ctrlZTakesBackTypingFirstThenTheLastStep();
    void recentlyDeletedBringsARecordBackAtItsNumber();

private:
    // A diary whose register `table` holds `rows` records, in the program's folder.
    static void diaryWith(RegisterFixture& db, const char* table, int rows)
    {
        db.create();
        db.fill(QString::fromLatin1(table), rows);
        data::setProgramFolder(db.folder());
    }
    static ImageButton* button(registers::RegisterWindow& w, const char* name)
    {
        return w.buttons()->button(QString::fromLatin1(name));
    }
    static void click(registers::RegisterWindow& w, const char* name)
    {
        QTest::mouseClick(button(w, name)->icon(), Qt::LeftButton);
    }
    static void commit(QWidget* field, const QString& text)
    {
        QInputMethodEvent event;
        event.setCommitString(text);
        QCoreApplication::sendEvent(field, &event);
    }
    // Answers the next question dialog that appears by clicking one of its buttons.
    static void answerNextQuestion(bool yes)
    {
        auto* timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, timer, [timer, yes] {
            if (auto* q = qobject_cast<frmquestion*>(QApplication::activeModalWidget())) {
                timer->stop();
                timer->deleteLater();
                QTest::mouseClick(yes ? q->CmdYes : q->CmdNo, Qt::LeftButton);
            }
        });
        timer->start(20);
    }
};

void TestRegisterWindows::addsARecordTypedThroughAnInputMethod()
{
    RegisterFixture db;
    data::setProgramFolder(db.folder());
    frmlocal w;
    w.show();
    QCOMPARE(w.editor().state(), registers::RecordEditor::State::AddingFirst);

    commit(w.control(4), QStringLiteral("ಪುಸ್ತಕ ಬಿಡುಗಡೆ"));
    commit(w.control(5), QStringLiteral("ಪುರಭವನ, ಬೆಂಗಳೂರು"));
    answerNextQuestion(true);
    click(w, "ImageSave"); // returns after the question and the save notice

    const QStringList stored = db.row("local", 1);
    QCOMPARE(stored.size(), 10);
    QCOMPARE(varnel::decode(varnel::fromStoredText(stored[4])), QStringLiteral("ಪುಸ್ತಕ ಬಿಡುಗಡೆ"));
    QCOMPARE(varnel::decode(varnel::fromStoredText(stored[5])), QStringLiteral("ಪುರಭವನ, ಬೆಂಗಳೂರು"));
    QCOMPARE(stored[6], QString());
    QCOMPARE(w.editor().state(), registers::RecordEditor::State::Browsing);
    QVERIFY(w.VScroll1()->isEnabled());
}

void TestRegisterWindows::newCancelAndDeleteThroughTheButtons()
{
    RegisterFixture db;
    diaryWith(db, "local", 3);
    frmlocal w;
    w.show();

    click(w, "ImageNew");
    QCOMPARE(qobject_cast<QLineEdit*>(w.control(0))->text(), QStringLiteral("೪")); // Kannada digits
    answerNextQuestion(true);
    click(w, "ImageCancel");
    QCOMPARE(w.VScroll1()->value(), 3);

    answerNextQuestion(true);
    click(w, "ImageDelete");
    QCOMPARE(db.rows("local"), (QList<QPair<int, QByteArray>>{{1, RegisterFixture::topicOf(1)},
                                                              {2, RegisterFixture::topicOf(2)}}));
    QCOMPARE(w.VScroll1()->maximum(), 2);
    QCOMPARE(qobject_cast<varnel::VarnelTextEdit*>(w.control(4))->varnel().bytes,
             RegisterFixture::topicOf(2));
}

void TestRegisterWindows::buttonStatesFollowTheEditor()
{
    RegisterFixture db;
    diaryWith(db, "local", 2);
    frmlocal w;
    w.show();
    auto shown = [&](const char* name) { return button(w, name)->isIconVisible(); };
    QVERIFY(shown("ImageNew") && !shown("ImageCancel") && shown("ImageDelete"));

    click(w, "ImageNew");
    QVERIFY(!shown("ImageNew") && shown("ImageCancel") && !shown("ImageDelete"));
    QVERIFY(!w.VScroll1()->isEnabled());
    QVERIFY(shown("ImageSave") && shown("ImageExit"));

    DialogScript script;
    script.answer(false);
    click(w, "ImageCancel"); // No: still adding
    QVERIFY(shown("ImageCancel"));
    QCOMPARE(script.questions, QByteArrayList{registers::texts::cancelQuestion});
}

void TestRegisterWindows::navigatorShowsTheRecordOfItsValue()
{
    RegisterFixture db;
    diaryWith(db, "local", 5);
    frmlocal w;
    w.show();
    w.VScroll1()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    w.VScroll1()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(qobject_cast<QLineEdit*>(w.control(0))->text(), QStringLiteral("೩"));
    QCOMPARE(qobject_cast<varnel::VarnelTextEdit*>(w.control(4))->varnel().bytes,
             RegisterFixture::topicOf(3));
}

void TestRegisterWindows::tourDatePickersKeepTheirOrder()
{
    RegisterFixture db;
    diaryWith(db, "tour", 1); // departs 1 January 2027, arrives the 2nd
    frmtour w;
    w.show();
    QCOMPARE(w.date(3), QDate(2027, 1, 1));
    QCOMPARE(w.date(6), QDate(2027, 1, 2));
    auto* departure = qobject_cast<varnel::DateTimePicker*>(w.control(3));
    QVERIFY(departure);
    // The user moves the departure a week on (the picker's own keyboard: day section, Up).
    departure->setFocus();
    departure->editor()->setFocus();
    for (int i = 0; i < 7; ++i)
        QTest::keyClick(departure->editor(), Qt::Key_Up);
    QCOMPARE(w.date(3), QDate(2027, 1, 8));
    QCOMPARE(w.date(6), QDate(2027, 1, 8));
    QCOMPARE(w.text(7).bytes, data::DayName(QDate(2027, 1, 8)));
}

void TestRegisterWindows::anUnreadableDiaryIsReportedAndNoWindowIsLeft()
{
    RegisterFixture db;
    QFile file(db.databasePath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    data::setProgramFolder(db.folder());
    registers::registerWindows();
    frmMDI mdi;
    mdi.show();
    DialogScript script;
    mdi.Label1_Click();
    QTest::mouseClick(mdi.popup(1)->Label1[0], Qt::LeftButton); // as the user reaches it

    QCOMPARE(script.texts.size(), 1);
    QVERIFY(script.texts[0].contains(QStringLiteral("Tarnalist.mdb")));
    QVERIFY(!childWindow(QStringLiteral("frmlocal")));
    QVERIFY(mdi.mdiArea()->subWindowList().isEmpty());
    QVERIFY(!mdi.popup(1));
    QCOMPARE(file.size(), 4096); // the file itself is left as it was
}

// Choosing an entry of the first pop-up opens its register inside the main window; choosing it
// again brings the same window forward with its record still on screen.
void TestRegisterWindows::theFirstMenuOpensEachRegisterOnce()
{
    RegisterFixture db;
    db.create();
    db.fill("local", 5);
    db.fill("tour", 2);
    data::setProgramFolder(db.folder());
    registers::registerWindows();
    frmMDI mdi;
    mdi.show();
    auto choose = [&](int entry) {
        mdi.Label1_Click();
        QVERIFY(mdi.popup(1));
        mdi.popup(1)->Label1_Click(entry);
    };

    choose(0);
    auto* local = qobject_cast<frmlocal*>(childWindow(QStringLiteral("frmlocal")));
    QVERIFY(local);
    QVERIFY(!mdi.popup(1)); // the pop-ups are closed after the entry's action
    local->VScroll1()->setValue(4);
    choose(2);
    QVERIFY(qobject_cast<frmtour*>(childWindow(QStringLiteral("frmtour"))));
    choose(0);
    QCOMPARE(childWindow(QStringLiteral("frmlocal")), local);
    QCOMPARE(local->serialText(), QStringLiteral("4"));
    QCOMPARE(mdi.mdiArea()->subWindowList().size(), 2);
    QCOMPARE(mdi.mdiArea()->activeSubWindow()->widget(), local);
}

// Moving over the free ground of Frame1 (between the fields) puts the buttons back at rest;
// moving over a field does not.
void TestRegisterWindows::frameGroundResetsTheButtonsButAFieldDoesNot()
{
    RegisterFixture db;
    diaryWith(db, "outstation", 2);
    frmoutstation w;
    w.resize(1000, 700);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto moveOver = [&](QWidget* widget, QPoint at) {
        QTest::mouseMove(w.windowHandle(), widget->mapTo(&w, at));
    };
    ImageButton* save = button(w, "ImageSave");
    QWidget* frame = w.findChild<QWidget*>(QStringLiteral("Frame1"));
    QWidget* topic = w.control(4);

    moveOver(save->icon(), QPoint(16, 16));
    QVERIFY(save->isHovered());
    QVERIFY(save->caption()->isVisible());
    moveOver(topic, QPoint(40, 10));
    QVERIFY(save->isHovered());
    const QPoint between(topic->geometry().left() - frame->x() + 40,
                         topic->geometry().bottom() - frame->y() + 3); // the gap under the topic
    moveOver(frame, between);
    QVERIFY(!save->isHovered());
    QVERIFY(!save->caption()->isVisible());
}

void TestRegisterWindows::restoredWindowShowsItsWholeForm_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("local") << "frmlocal";
    QTest::newRow("outstation") << "frmoutstation";
    QTest::newRow("tour") << "frmtour";
}

// The title bar's Restore button gives back a window that shows every control of its form.
void TestRegisterWindows::restoredWindowShowsItsWholeForm()
{
    QFETCH(QString, name);
    RegisterFixture db;
    diaryWith(db, "local", 1);
    registers::registerWindows();
    frmMDI mdi;
    mdi.show();
    QWidget* w = openChildWindow(name);
    QVERIFY(w);
    auto* frame = qobject_cast<QMdiSubWindow*>(w->parentWidget());
    QVERIFY(frame && frame->isMaximized());
    frame->showNormal();
    QVERIFY(!frame->isMaximized());
    const QRect form = w->childrenRect();
    QVERIFY2(w->width() > form.right() && w->height() > form.bottom(),
             qPrintable(QStringLiteral("%1x%2").arg(w->width()).arg(w->height())));
    QVERIFY(frame->geometry().contains(w->mapTo(frame, form.bottomRight())));
}

void TestRegisterWindows::readOnlyBoxesReadLikeTheOtherFields_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QList<int>>("readOnly"); // ordinals
    QTest::newRow("local") << "frmlocal" << QList<int>{0, 2};
    QTest::newRow("tour") << "frmtour" << QList<int>{0, 4, 7};
}

// The serial number and the weekdays cannot be typed into, yet read like the fields beside
// them: same text and ground colours, same font.
void TestRegisterWindows::readOnlyBoxesReadLikeTheOtherFields()
{
    QFETCH(QString, name);
    QFETCH(QList<int>, readOnly);
    RegisterFixture db;
    diaryWith(db, name == QLatin1String("frmtour") ? "tour" : "local", 1);
    std::unique_ptr<registers::RegisterWindow> w;
    if (name == QLatin1String("frmtour"))
        w = std::make_unique<frmtour>();
    else
        w = std::make_unique<frmlocal>();
    w->show();
    QWidget* editable = w->control(name == QLatin1String("frmtour") ? 1 : 4);
    for (int ordinal : readOnly) {
        auto* box = qobject_cast<QLineEdit*>(w->control(ordinal));
        QVERIFY(box);
        QVERIFY(box->isReadOnly());
        QVERIFY(box->isEnabled());
        QCOMPARE(box->focusPolicy(), Qt::NoFocus);
        QCOMPARE(box->palette().color(QPalette::Text), editable->palette().color(QPalette::Text));
        QCOMPARE(box->palette().color(QPalette::Base), editable->palette().color(QPalette::Base));
        QCOMPARE(box->font(), editable->font());
    }
}

void TestRegisterWindows::tabGoesThroughTheFieldsInTheirOrder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("order");
    // After the fields, the image buttons shown: all but Cancel while browsing the local register,
    // Save and Back in the empty ones (adding the first record).
    const QStringList buttons{"ImageNew", "ImageSave", "ImageDelete", "ImageExit"};
    const QStringList firstRecordButtons{"ImageSave", "ImageExit"};
    QTest::newRow("local") << "frmlocal"
                           << QStringList{"DTPickerDate", "DTPickerTime", "TxtTopic",
                                          "TxtVenue",     "TxtAddress",   "TxtTelephone",
                                          "TxtContact",   "TxtOthers"} +
                                  buttons;
    QTest::newRow("outstation") << "frmoutstation"
                                << QStringList{"DTPickerDate", "DTPickerTime", "TxtTopic",
                                               "TxtVenue",     "TxtAddress",   "TxtTelephone",
                                               "TxtContact",   "TxtOthers"} +
                                       firstRecordButtons;
    QTest::newRow("tour") << "frmtour"
                          << QStringList{"TxtFrom",   "TxtTo",     "DTPDateFrom",   "DTPTimeFrom",
                                         "DTPDateTo", "DTPTimeTo", "TxtTraveltype", "TxtOthers"} +
                                 firstRecordButtons;
}

// Tab visits each field once in the documented order, a picker being one stop, then the image
// buttons, and comes back round to the first; Shift+Tab goes back. No field takes a TAB character.
void TestRegisterWindows::tabGoesThroughTheFieldsInTheirOrder()
{
    QFETCH(QString, name);
    QFETCH(QStringList, order);
    RegisterFixture db;
    diaryWith(db, "local", 1);
    registers::registerWindows();
    frmMDI mdi;
    mdi.show();
    QVERIFY(QTest::qWaitForWindowActive(&mdi));
    auto* w = qobject_cast<registers::RegisterWindow*>(openChildWindow(name));
    QVERIFY(w);
    // The field that has the focus: the control itself or the picker around its editor.
    auto focused = [w]() -> QString {
        for (QWidget* f = QApplication::focusWidget(); f && f != w; f = f->parentWidget()) {
            if (f->parentWidget() == w)
                return f->objectName();
        }
        return {};
    };
    w->findChild<QWidget*>(order.first())->setFocus(Qt::TabFocusReason);
    QStringList visited{focused()};
    for (int i = 0; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << focused();
    }
    QCOMPARE(visited, order + QStringList{order.first()});
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(focused(), order.last());
    const int others = name == QLatin1String("frmtour") ? 10 : 9;
    QVERIFY(!w->text(others).bytes.contains('\t'));
}

// The program's own application object, which reports what a handler throws.
// Ctrl+Z in a text box undoes what was typed there first; the next one asks and takes back the
// window's deletion. The undo entry is there only while there is a step to take back.
void TestRegisterWindows::ctrlZTakesBackTypingFirstThenTheLastStep()
{
    RegisterFixture db;
    diaryWith(db, "local", 3);
    DialogScript dialogs;
    dialogs.defaultAnswer = true;
    frmlocal w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QVERIFY(!w.undoButton()->isEnabled());
    w.VScroll1()->setValue(2);
    w.ImageDelete_Click();
    QCOMPARE(db.count("local"), 2);
    QVERIFY(w.undoButton()->isEnabled());

    QWidget* topic = w.control(4);
    topic->setFocus();
    commit(topic, QStringLiteral("ಸಭೆ"));
    QTest::keyClick(topic, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w.text(4).bytes, RegisterFixture::topicOf(3)); // the record shown after the deletion
    QCOMPARE(db.count("local"), 2);
    const qsizetype asked = dialogs.questions.size();
    QTest::keyClick(topic, Qt::Key_Z, Qt::ControlModifier);
    // The undo, then the clash question: the fixture's records share their date and time.
    QCOMPARE(dialogs.questions.size(), asked + 2);
    QCOMPARE(db.rows("local"), (QList<QPair<int, QByteArray>>{{1, RegisterFixture::topicOf(1)},
                                                              {2, RegisterFixture::topicOf(2)},
                                                              {3, RegisterFixture::topicOf(3)}}));
    QCOMPARE(w.text(4).bytes, RegisterFixture::topicOf(2)); // the record brought back
    QVERIFY(!w.undoButton()->isEnabled());
}

// The kept deletions of the chosen register, newest first; the one brought back returns at its
// number and leaves the list.
void TestRegisterWindows::recentlyDeletedBringsARecordBackAtItsNumber()
{
    RegisterFixture db;
    diaryWith(db, "local", 5);
    DialogScript dialogs;
    dialogs.defaultAnswer = true;
    {
        frmlocal w;
        for (int serial : {2, 4}) { // topics 2, then 5
            w.VScroll1()->setValue(serial);
            w.ImageDelete_Click();
        }
    }
    registers::RecentlyDeletedWindow window;
    QCOMPARE(window.GridDeleted->rowCount(), 2);
    QCOMPARE(window.GridDeleted->item(0, 4)->text(), QStringLiteral("೪")); // the newest first
    QVERIFY(window.LabelNone->isHidden());
    window.GridDeleted->selectRow(1);
    QTest::mouseClick(window.CmdRestore, Qt::LeftButton);

    QCOMPARE(dialogs.questions.size(), 4); // two deletions, then this and its clash
    QCOMPARE(db.rows("local"), (QList<QPair<int, QByteArray>>{{1, RegisterFixture::topicOf(1)},
                                                              {2, RegisterFixture::topicOf(2)},
                                                              {3, RegisterFixture::topicOf(3)},
                                                              {4, RegisterFixture::topicOf(4)}}));
    QCOMPARE(window.GridDeleted->rowCount(), 1);
    // A deletion in a register window meanwhile shows once this window comes to the front.
    {
        frmlocal w;
        w.ImageDelete_Click();
    }
    QCOMPARE(window.GridDeleted->rowCount(), 1);
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&window, &activate);
    QCOMPARE(window.GridDeleted->rowCount(), 2);
    window.OptRegister[2]->click(); // tours: none kept
    QCOMPARE(window.GridDeleted->rowCount(), 0);
    QVERIFY(!window.LabelNone->isHidden());
    QVERIFY(!window.CmdRestore->isEnabled());
}

int main(int argc, char** argv)
{
    VelmoraApplication app(argc, argv);
    TestRegisterWindows test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_RegisterWindows.moc"
