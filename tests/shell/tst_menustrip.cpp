// The menu strip: its state machine on its own, then the main window carrying it out on the
// highlights and pop-ups under real mouse input.
#include <QImage>
#include <QMdiSubWindow>
#include <QMdiArea>
#include <QTest>

#include "ShellTestSupport.h"
#include "shell/DialogScript.h"
#include "shell/MenuStrip.h"
#include "shell/ShapeWidget.h"
#include "shell/WindowRegistry.h"
#include "shell/frmMDI.h"
#include "shell/frmMenu.h"
#include "widgets/VarnelLabel.h"

class TestMenuStrip : public QObject {
    Q_OBJECT

private slots:
    void stateMachine_data();
    void stateMachine();

    void init();
    void cleanup();
    void clickingALabelTwiceLeavesOnePopup();
    void hoveringAnotherLabelSwitchesAnOpenPopup();
    void movingOffALabelClearsTheHighlightOnlyWhenIdle();
    void clickingTheEmptyStripWhenIdleChangesNothing();
    void clickingTheClientAreaClosesThePopups();
    void popupOpensUnderItsLabel_data();
    void popupOpensUnderItsLabel();
    void entryHighlightFollowsTheMouse();
    void entryHighlightGreysTheGroundAndKeepsTheTextBlack();
    void closingTheMainWindowEndsTheProgramWithoutAsking();
    void onlyThePrimaryButtonChooses_data();
    void onlyThePrimaryButtonChooses();

private:
    frmMDI* mdi = nullptr;
    EndProgramRecorder* ends = nullptr;
};

// Steps: "hN" hover label N, "cN" click label N, "b" move over the empty strip or client area,
// "x" MDIForm_Click.
void TestMenuStrip::stateMachine_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<bool>("menuOpen");
    QTest::addColumn<int>("popup");
    QTest::addColumn<QString>("highlights");

    QTest::newRow("start") << "" << false << 0 << "0000";
    QTest::newRow("hover highlights") << "h2" << false << 0 << "0100";
    QTest::newRow("hover moves highlight") << "h2 h3" << false << 0 << "0010";
    QTest::newRow("off the label when idle") << "h2 b" << false << 0 << "0000";
    QTest::newRow("click without hover") << "c3" << true << 3 << "0000";
    QTest::newRow("hover then click") << "h3 c3" << true << 3 << "0010";
    QTest::newRow("click twice") << "h3 c3 c3" << true << 3 << "0010";
    QTest::newRow("switch by hover") << "h1 c1 h4" << true << 4 << "0001";
    QTest::newRow("switch and back") << "h1 c1 h4 h1" << true << 1 << "1000";
    QTest::newRow("off the label when open") << "h1 c1 b" << true << 1 << "1000";
    QTest::newRow("click another label") << "h1 c1 h2 c2" << true << 2 << "0100";
    QTest::newRow("click other label unhovered") << "h1 c1 c2" << true << 2 << "0000";
    QTest::newRow("close") << "h1 c1 x" << false << 0 << "0000";
    QTest::newRow("close when idle") << "h2 x" << false << 0 << "0000";
    QTest::newRow("hover after close does not open") << "h1 c1 x h2" << false << 0 << "0100";
    QTest::newRow("reopen after close") << "h1 c1 x h3 c3" << true << 3 << "0010";
}

void TestMenuStrip::stateMachine()
{
    QFETCH(QString, steps);
    MenuStrip strip;
    for (const QString& step : steps.split(u' ', Qt::SkipEmptyParts)) {
        const int n = step.size() > 1 ? step.mid(1).toInt() : 0;
        switch (step.at(0).unicode()) {
        case 'h': strip.labelHover(n); break;
        case 'c': strip.labelClick(n); break;
        case 'b': strip.backgroundHover(); break;
        case 'x': strip.closeAll(); break;
        default: QFAIL("bad step");
        }
    }
    QTEST(strip.MenuOpen(), "menuOpen");
    QTEST(strip.openPopup(), "popup");
    QString highlights;
    for (int n = 1; n <= MenuStrip::kLabels; ++n)
        highlights += strip.highlighted(n) ? u'1' : u'0';
    QTEST(highlights, "highlights");
}

void TestMenuStrip::init()
{
    ends = new EndProgramRecorder;
    mdi = new frmMDI;
    mdi->show();
    QVERIFY(QTest::qWaitForWindowExposed(mdi));
}

void TestMenuStrip::cleanup()
{
    unloadMainWindows();
    mdi = nullptr;
    delete ends;
}

namespace {

QList<frmMenu*> openPopups(frmMDI* mdi)
{
    QList<frmMenu*> open;
    for (frmMenu* m : mdi->mdiArea()->viewport()->findChildren<frmMenu*>()) {
        if (m->isVisible())
            open << m;
    }
    return open;
}

QString shownHighlights(frmMDI* mdi)
{
    QString s;
    for (ShapeWidget* shape : mdi->Shape)
        s += shape->isVisible() ? u'1' : u'0';
    return s;
}

} // namespace

void TestMenuStrip::clickingALabelTwiceLeavesOnePopup()
{
    clickAt(mdi->Label[2]);
    clickAt(mdi->Label[2]);
    const auto open = openPopups(mdi);
    QCOMPARE(open.size(), 1);
    QCOMPARE(open.first()->objectName(), QStringLiteral("frmMenu3"));
    QVERIFY(mdi->strip().MenuOpen());
}

void TestMenuStrip::hoveringAnotherLabelSwitchesAnOpenPopup()
{
    moveTo(mdi->Label[0]);
    clickAt(mdi->Label[0]);
    QCOMPARE(openPopups(mdi).first()->objectName(), QStringLiteral("frmMenu1"));
    moveTo(mdi->Label[3]);
    const auto open = openPopups(mdi);
    QCOMPARE(open.size(), 1);
    QCOMPARE(open.first()->objectName(), QStringLiteral("frmMenu4"));
    QCOMPARE(open.first()->x(), mdi->Label[3]->x());
    QCOMPARE(shownHighlights(mdi), QStringLiteral("0001"));
    // Moving off the strip leaves pop-up and highlight in place.
    moveTo(mdi->mdiArea()->viewport(), QPoint(600, 400));
    QCOMPARE(openPopups(mdi).size(), 1);
    QCOMPARE(shownHighlights(mdi), QStringLiteral("0001"));
}

void TestMenuStrip::movingOffALabelClearsTheHighlightOnlyWhenIdle()
{
    moveTo(mdi->Label[1]);
    QCOMPARE(shownHighlights(mdi), QStringLiteral("0100"));
    moveTo(mdi->Picture1, QPoint(760, 10));
    QCOMPARE(shownHighlights(mdi), QStringLiteral("0000"));
    moveTo(mdi->Label[2]);
    moveTo(mdi->mdiArea()->viewport(), QPoint(500, 300));
    QCOMPARE(shownHighlights(mdi), QStringLiteral("0000"));
}

void TestMenuStrip::clickingTheEmptyStripWhenIdleChangesNothing()
{
    clickAt(mdi->Picture1, QPoint(760, 10));
    QVERIFY(!mdi->strip().MenuOpen());
    QVERIFY(openPopups(mdi).isEmpty());
    QCOMPARE(shownHighlights(mdi), QStringLiteral("0000"));
}

void TestMenuStrip::clickingTheClientAreaClosesThePopups()
{
    moveTo(mdi->Label[1]);
    clickAt(mdi->Label[1]);
    QCOMPARE(openPopups(mdi).size(), 1);
    clickAt(mdi->mdiArea()->viewport(), QPoint(600, 500));
    QVERIFY(openPopups(mdi).isEmpty());
    QVERIFY(!mdi->strip().MenuOpen());
    QCOMPARE(shownHighlights(mdi), QStringLiteral("0000"));
    // And the empty strip closes them too.
    clickAt(mdi->Label[0]);
    clickAt(mdi->Picture1, QPoint(760, 10));
    QVERIFY(openPopups(mdi).isEmpty());
}

void TestMenuStrip::popupOpensUnderItsLabel_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QSize>("clientSize");
    QTest::newRow("frmMenu1") << 1 << QSize(209, 104);
    QTest::newRow("frmMenu2") << 2 << QSize(209, 104);
    QTest::newRow("frmMenu3") << 3 << QSize(209, 104);
    // The help pop-up has three rows more, for the Kannada keyboards.
    QTest::newRow("frmMenu4") << 4 << QSize(187, 104 + 3 * 32);
}

void TestMenuStrip::popupOpensUnderItsLabel()
{
    QFETCH(int, n);
    QFETCH(QSize, clientSize);
    clickAt(mdi->Label[n - 1]);
    frmMenu* popup = mdi->popup(n);
    QVERIFY(popup);
    QCOMPARE(popup->parentWidget(), mdi->mdiArea()->viewport());
    QCOMPARE(popup->pos(), QPoint(mdi->Label[n - 1]->x(), 0));
    QCOMPARE(popup->client()->size(), clientSize);
    // Directly under the strip: the client area starts where Picture1 ends.
    QCOMPARE(popup->mapTo(mdi, QPoint(0, 0)).y(),
             mdi->Picture1->mapTo(mdi, QPoint(0, 0)).y() + mdi->Picture1->height());
    for (int i = 0; i < frmMenu::kEntries; ++i)
        QCOMPARE(popup->Label1[i]->caption(), frmMenu::entryCaption(n, i));
}

void TestMenuStrip::entryHighlightFollowsTheMouse()
{
    clickAt(mdi->Label[0]);
    frmMenu* popup = mdi->popup(1);
    auto shown = [popup] {
        QString s;
        for (ShapeWidget* shape : popup->Shape1)
            s += shape->isVisible() ? u'1' : u'0';
        return s;
    };
    QCOMPARE(shown(), QStringLiteral("000"));
    moveTo(popup->Label1[1]);
    QCOMPARE(shown(), QStringLiteral("010"));
    moveTo(popup->Label1[2]);
    QCOMPARE(shown(), QStringLiteral("001"));
}

void TestMenuStrip::entryHighlightGreysTheGroundAndKeepsTheTextBlack()
{
    clickAt(mdi->Label[0]);
    frmMenu* popup = mdi->popup(1);
    QWidget* ground = popup->client();
    const QImage before = ground->grab().toImage();
    popup->Label1_MouseMove(1);
    const QImage after = ground->grab().toImage();

    // Between the left band and the entry text the white ground turns light grey.
    const QRect shape = popup->Shape1[1]->geometry();
    const QPoint plain(28, shape.center().y());
    QCOMPARE(QColor(before.pixel(plain)), QColor(Qt::white));
    QCOMPARE(QColor(after.pixel(plain)), QColor(239, 239, 239));
    // Over the grey left band the colours are ANDed: 239 & 223 = 207, 239 & 213 = 197.
    const QPoint overBand(20, shape.center().y());
    QCOMPARE(QColor(after.pixel(overBand)), QColor(207, 207, 197));

    // Every black pixel of the entry's text is still black.
    const QRect text = popup->Label1[1]->geometry() & shape;
    int black = 0;
    for (int y = text.top(); y <= text.bottom(); ++y) {
        for (int x = text.left(); x <= text.right(); ++x) {
            if (QColor(before.pixel(x, y)) == QColor(Qt::black)) {
                ++black;
                QCOMPARE(QColor(after.pixel(x, y)), QColor(Qt::black));
            }
        }
    }
    QVERIFY(black > 10);
}

void TestMenuStrip::closingTheMainWindowEndsTheProgramWithoutAsking()
{
    DialogScript dialogs;
    auto* working = new QWidget;
    mdi->mdiArea()->addSubWindow(working)->show();
    QVERIFY(mdi->close());
    QCOMPARE(ends->calls, 1);
    QVERIFY(dialogs.questions.isEmpty() && dialogs.messages.isEmpty());
}

void TestMenuStrip::onlyThePrimaryButtonChooses_data()
{
    QTest::addColumn<int>("button");
    QTest::newRow("right") << int(Qt::RightButton);
    QTest::newRow("middle") << int(Qt::MiddleButton);
}

// A right or middle click opens no pop-up, chooses no entry and closes nothing.
void TestMenuStrip::onlyThePrimaryButtonChooses()
{
    QFETCH(int, button);
    const auto other = Qt::MouseButton(button);
    int opened = 0;
    registerChildWindow(QStringLiteral("frmlocal"), [&opened] {
        ++opened;
        return new QWidget;
    });
    clickAt(mdi->Label[0], {}, other);
    QVERIFY(openPopups(mdi).isEmpty());
    clickAt(mdi->Label[0]);
    QCOMPARE(openPopups(mdi).size(), 1);
    clickAt(mdi->popup(1)->Label1[0], {}, other);
    clickAt(mdi->mdiArea()->viewport(), QPoint(600, 500), other);
    QCOMPARE(opened, 0);
    QCOMPARE(openPopups(mdi).size(), 1);
    clickAt(mdi->popup(1)->Label1[0]);
    QCOMPARE(opened, 1);
    unregisterChildWindow(QStringLiteral("frmlocal"));
}

QTEST_MAIN(TestMenuStrip)
#include "tst_menustrip.moc"
