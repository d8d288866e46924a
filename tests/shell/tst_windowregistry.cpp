// Opening working windows by name, and every pop-up entry's action, with stand-in windows.
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include "ShellTestSupport.h"
#include "shell/DialogScript.h"
#include "shell/RegisterChoice.h"
#include "shell/ShapeWidget.h"
#include "shell/WindowRegistry.h"
#include "shell/frmMDI.h"
#include "shell/frmMenu.h"
#include "shell/frmabout.h"
#include "shell/frmhelp.h"
#include "widgets/VarnelLabel.h"

namespace {

// A stand-in for the report window: records the register the menu chose.
struct ChoosingWindow : QWidget, RegisterChoice {
    void setOption_tarna(int Index) override { setProperty("Option_tarna", Index); }
};

// A stand-in working window that records how it was made.
struct Factory {
    QString name;
    bool maximised = true;
    int made = 0;
    bool busyWhileLoading = false;

    ChildWindowFactory make()
    {
        return [this] {
            ++made;
            const QCursor* pointer = QApplication::overrideCursor();
            busyWhileLoading = pointer && pointer->shape() == Qt::WaitCursor;
            QWidget* w = name == QLatin1String("frmreport") ? new ChoosingWindow : new QWidget;
            w->setObjectName(name);
            if (maximised)
                w->setWindowState(Qt::WindowMaximized);
            return w;
        };
    }
};

QMdiSubWindow* frameOf(QWidget* w)
{
    return qobject_cast<QMdiSubWindow*>(w ? w->parentWidget() : nullptr);
}

const QStringList kWorkingWindows{"frmlocal", "frmoutstation", "frmtour",   "frmfind1",
                                  "frmfind2", "frmfind3",      "frmreport", "frmreport3"};

} // namespace

class TestWindowRegistry : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void unknownNameDoesNothing();
    void opensOnceAndBringsForward();
    void beforeShowRunsForNewAndOpenWindows();
    void closingRemovesTheWindow();
    void unloadClosesTheFrame();
    void windowStateIsCarriedOver();
    void busyPointerOnlyWhileLoading();
    void busyPointerComesBackWhenLoadingFails();

    void entryOpensItsWindowAndClosesThePopups_data();
    void entryOpensItsWindowAndClosesThePopups();
    void entryWithoutWindowOnlyClosesThePopups();
    void reportsEntrySwitchesTheOpenReportWindow();
    void helpEntryOpensOneHelpWindowWithoutBusyPointer();
    void aboutEntryKeepsThePopupUntilAboutCloses();
    void exitEntryEndsTheProgram();

private:
    void openEntry(int menu, int entry);

    frmMDI* mdi = nullptr;
    EndProgramRecorder* ends = nullptr;
    std::map<QString, Factory> factories;
};

void TestWindowRegistry::init()
{
    ends = new EndProgramRecorder;
    mdi = new frmMDI;
    mdi->show();
    QVERIFY(QTest::qWaitForWindowExposed(mdi));
    factories.clear();
    for (const QString& name : kWorkingWindows) {
        Factory& f = factories[name];
        f.name = name;
        registerChildWindow(name, f.make());
    }
}

void TestWindowRegistry::cleanup()
{
    for (const QString& name : kWorkingWindows)
        unregisterChildWindow(name);
    unloadMainWindows();
    delete ends;
}

void TestWindowRegistry::unknownNameDoesNothing()
{
    QVERIFY(!openChildWindow(QStringLiteral("frmnothing")));
    QVERIFY(mdi->mdiArea()->subWindowList().isEmpty());
    QVERIFY(!QApplication::overrideCursor());
}

void TestWindowRegistry::opensOnceAndBringsForward()
{
    QWidget* local = openChildWindow(QStringLiteral("frmlocal"));
    QWidget* tour = openChildWindow(QStringLiteral("frmtour"));
    QVERIFY(local && tour);
    QCOMPARE(mdi->mdiArea()->activeSubWindow(), frameOf(tour));
    QCOMPARE(openChildWindow(QStringLiteral("frmlocal")), local);
    QCOMPARE(factories["frmlocal"].made, 1);
    QCOMPARE(mdi->mdiArea()->activeSubWindow(), frameOf(local));
    QCOMPARE(mdi->mdiArea()->subWindowList().size(), 2);
    QCOMPARE(childWindow(QStringLiteral("frmlocal")), local);
}

void TestWindowRegistry::beforeShowRunsForNewAndOpenWindows()
{
    QStringList seen;
    auto note = [&seen](QWidget* w) {
        seen << QStringLiteral("%1:%2").arg(w->objectName()).arg(w->isVisible());
    };
    openChildWindow(QStringLiteral("frmreport"), note);
    openChildWindow(QStringLiteral("frmreport"), note);
    // Between loading and showing the first time; on the shown window the second time.
    QCOMPARE(seen, QStringList({"frmreport:0", "frmreport:1"}));
}

void TestWindowRegistry::closingRemovesTheWindow()
{
    QWidget* first = openChildWindow(QStringLiteral("frmfind1"));
    frameOf(first)->close();
    // Even before the closed frame is deleted, the next opening makes a new window.
    QWidget* second = openChildWindow(QStringLiteral("frmfind1"));
    QVERIFY(second != first);
    QCOMPARE(factories["frmfind1"].made, 2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(mdi->mdiArea()->subWindowList().size(), 1);
    QCOMPARE(childWindow(QStringLiteral("frmfind1")), second);
}

void TestWindowRegistry::unloadClosesTheFrame()
{
    QPointer<QWidget> w = openChildWindow(QStringLiteral("frmfind2"));
    unloadChildWindow(w);
    QVERIFY(!childWindow(QStringLiteral("frmfind2")));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(w.isNull());
    QVERIFY(mdi->mdiArea()->subWindowList().isEmpty());
}

void TestWindowRegistry::windowStateIsCarriedOver()
{
    factories["frmreport3"].maximised = false;
    QWidget* maximised = openChildWindow(QStringLiteral("frmlocal"));
    QVERIFY(frameOf(maximised)->isMaximized());
    QWidget* plain = openChildWindow(QStringLiteral("frmreport3"));
    QVERIFY(!frameOf(plain)->isMaximized());
}

void TestWindowRegistry::busyPointerOnlyWhileLoading()
{
    openChildWindow(QStringLiteral("frmtour"));
    QVERIFY(factories["frmtour"].busyWhileLoading);
    QVERIFY(!QApplication::overrideCursor());
    openChildWindow(QStringLiteral("frmoutstation"), {}, WindowOpening::Plain);
    QVERIFY(!factories["frmoutstation"].busyWhileLoading);
}

void TestWindowRegistry::busyPointerComesBackWhenLoadingFails()
{
    registerChildWindow(QStringLiteral("frmlocal"),
                        []() -> QWidget* { throw std::runtime_error("cannot open the diary"); });
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, openChildWindow(QStringLiteral("frmlocal")));
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(!childWindow(QStringLiteral("frmlocal")));
}

void TestWindowRegistry::openEntry(int menu, int entry)
{
    moveTo(mdi->Label[menu - 1]);
    clickAt(mdi->Label[menu - 1]);
    frmMenu* popup = mdi->popup(menu);
    QVERIFY(popup);
    moveTo(popup->Label1[entry]);
    clickAt(popup->Label1[entry]);
}

void TestWindowRegistry::entryOpensItsWindowAndClosesThePopups_data()
{
    QTest::addColumn<int>("menu");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("option"); // Option_tarna set before showing, -1 for none

    QTest::newRow("1.0") << 1 << 0 << "frmlocal" << -1;
    QTest::newRow("1.1") << 1 << 1 << "frmoutstation" << -1;
    QTest::newRow("1.2") << 1 << 2 << "frmtour" << -1;
    QTest::newRow("2.0") << 2 << 0 << "frmfind1" << -1;
    QTest::newRow("2.1") << 2 << 1 << "frmfind2" << -1;
    QTest::newRow("2.2") << 2 << 2 << "frmfind3" << -1;
    QTest::newRow("3.0") << 3 << 0 << "frmreport" << 0;
    QTest::newRow("3.1") << 3 << 1 << "frmreport" << 1;
    QTest::newRow("3.2") << 3 << 2 << "frmreport3" << -1;
}

void TestWindowRegistry::entryOpensItsWindowAndClosesThePopups()
{
    QFETCH(int, menu);
    QFETCH(int, entry);
    QFETCH(QString, window);
    QFETCH(int, option);

    openEntry(menu, entry);
    QWidget* w = childWindow(window);
    QVERIFY(w);
    QCOMPARE(factories[window].made, 1);
    QVERIFY(factories[window].busyWhileLoading);
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(frameOf(w)->isMaximized());
    QCOMPARE(mdi->mdiArea()->activeSubWindow(), frameOf(w));
    const QVariant tarna = w->property("Option_tarna");
    QCOMPARE(tarna.isValid() ? tarna.toInt() : -1, option);

    QVERIFY(!mdi->strip().MenuOpen());
    for (int n = 1; n <= MenuStrip::kLabels; ++n) {
        QVERIFY(!mdi->popup(n));
        QVERIFY(!mdi->Shape[n - 1]->isVisible());
    }
}

void TestWindowRegistry::entryWithoutWindowOnlyClosesThePopups()
{
    unregisterChildWindow(QStringLiteral("frmtour"));
    openEntry(1, 2);
    QVERIFY(mdi->mdiArea()->subWindowList().isEmpty());
    QVERIFY(!mdi->strip().MenuOpen());
    QVERIFY(!mdi->popup(1));
}

void TestWindowRegistry::reportsEntrySwitchesTheOpenReportWindow()
{
    openEntry(3, 0);
    QWidget* report = childWindow(QStringLiteral("frmreport"));
    QCOMPARE(report->property("Option_tarna").toInt(), 0);
    openChildWindow(QStringLiteral("frmtour"));
    openEntry(3, 1);
    QCOMPARE(childWindow(QStringLiteral("frmreport")), report);
    QCOMPARE(factories["frmreport"].made, 1);
    QCOMPARE(report->property("Option_tarna").toInt(), 1);
    QCOMPARE(mdi->mdiArea()->activeSubWindow(), frameOf(report));
}

void TestWindowRegistry::helpEntryOpensOneHelpWindowWithoutBusyPointer()
{
    bool busy = true;
    int made = 0;
    registerChildWindow(QStringLiteral("frmhelp"), [&busy, &made]() -> QWidget* {
        ++made;
        busy = QApplication::overrideCursor() != nullptr;
        return new frmhelp;
    });
    openEntry(4, 0);
    openEntry(4, 0);
    QCOMPARE(made, 1);
    QVERIFY(!busy);
    auto* help = qobject_cast<frmhelp*>(childWindow(QStringLiteral("frmhelp")));
    QVERIFY(help);
    QVERIFY(frameOf(help)->isMaximized());
    QVERIFY(!mdi->popup(4));
    registerChildWindow(QStringLiteral("frmhelp"), [] { return new frmhelp; });
}

void TestWindowRegistry::aboutEntryKeepsThePopupUntilAboutCloses()
{
    bool popupShownMeanwhile = false;
    QString modalName;
    whenModal([&](QWidget* modal) {
        modalName = modal->objectName();
        popupShownMeanwhile = mdi->popup(4) && mdi->popup(4)->isVisible();
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    openEntry(4, 1);
    QCOMPARE(modalName, QStringLiteral("frmabout"));
    QVERIFY(popupShownMeanwhile);
    QVERIFY(!mdi->popup(4));
    QVERIFY(!mdi->strip().MenuOpen());
    QCOMPARE(ends->calls, 0);
}

void TestWindowRegistry::exitEntryEndsTheProgram()
{
    openChildWindow(QStringLiteral("frmlocal"));
    DialogScript dialogs;
    openEntry(4, 2);
    QCOMPARE(ends->calls, 1);
    // Nothing is asked on the way out.
    QVERIFY(dialogs.questions.isEmpty());
    QVERIFY(dialogs.messages.isEmpty());
}

QTEST_MAIN(TestWindowRegistry)
#include "tst_windowregistry.moc"
