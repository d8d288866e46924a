#include <csignal>

// The front screen: which input opens the main window (exactly once), which ends the program,
// and the busy pointer while the main window loads.
#include <QApplication>
#include <QScreen>
#include <QTest>

#include "ShellTestSupport.h"
#include "shell/frmMDI.h"
#include "shell/ProgramExit.h"
#include "shell/frmfront.h"

namespace {

// Records the pointer at the moment the main window is shown.
class ShowWatcher : public QObject {
public:
    int shows = 0;
    bool busyAtShow = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<frmMDI*>(watched)) {
            ++shows;
            const QCursor* pointer = QApplication::overrideCursor();
            busyAtShow = pointer && pointer->shape() == Qt::WaitCursor;
        }
        return false;
    }
};

} // namespace

class TestFront : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void looksAsDesigned();
    void input_data();
    void input();
    void busyPointerWhileTheMainWindowLoads();
    void closedByThePlatformEndsTheProgram();
    void terminationSignalsEndTheProgram();

private:
    QPointer<frmfront> front;
    EndProgramRecorder* ends = nullptr;
};

void TestFront::init()
{
    ends = new EndProgramRecorder;
    front = new frmfront;
    front->show();
    QVERIFY(QTest::qWaitForWindowExposed(front));
}

void TestFront::cleanup()
{
    delete front;
    unloadMainWindows();
    delete ends;
}

void TestFront::looksAsDesigned()
{
    // A 372 × 281 client area inside a one-pixel border, centred on the screen.
    QCOMPARE(front->size(), QSize(374, 283));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QVERIFY(qAbs(front->geometry().center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(front->geometry().center().y() - screen.center().y()) <= 1);
    QVERIFY(front->windowFlags() & Qt::FramelessWindowHint);
    const QImage picture = front->grab().toImage();
    // The yellow band of the picture shows in the upper third.
    const QColor band(picture.pixel(300, 30));
    QVERIFY(band.red() > 240 && band.green() > 200 && band.blue() < 120);
}

// Input steps: "p:KEY" press, "r:KEY" release, "click" (primary button), "rclick" (right),
// "mclick" (middle). KEY is a Qt key name without Key_.
void TestFront::input_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("mainWindows");
    QTest::addColumn<int>("ends");

    QTest::newRow("click") << "click" << 1 << 0;
    QTest::newRow("two clicks") << "click click" << 1 << 0;
    QTest::newRow("letter acts on press") << "p:A" << 1 << 0;
    QTest::newRow("letter press and release") << "p:A r:A" << 1 << 0;
    QTest::newRow("space") << "p:Space r:Space" << 1 << 0;
    QTest::newRow("Enter") << "p:Return" << 1 << 0;
    QTest::newRow("F1 press does nothing") << "p:F1" << 0 << 0;
    QTest::newRow("F1 acts on release") << "p:F1 r:F1" << 1 << 0;
    QTest::newRow("Shift acts on release") << "p:Shift r:Shift" << 1 << 0;
    QTest::newRow("arrow acts on release") << "p:Left r:Left" << 1 << 0;
    QTest::newRow("Escape ends on press") << "p:Escape" << 0 << 1;
    QTest::newRow("Escape press and release end once") << "p:Escape r:Escape" << 0 << 1;
    QTest::newRow("Escape after F1 press") << "p:F1 p:Escape r:Escape" << 0 << 1;
    QTest::newRow("click then key") << "click p:A r:A" << 1 << 0;
    // Only the primary button clicks.
    QTest::newRow("right click") << "rclick" << 0 << 0;
    QTest::newRow("middle click") << "mclick" << 0 << 0;
    QTest::newRow("right click, then click") << "rclick click" << 1 << 0;
}

void TestFront::input()
{
    QFETCH(QString, steps);
    const QMetaEnum keys = QMetaEnum::fromType<Qt::Key>();
    for (const QString& step : steps.split(u' ')) {
        // Once the front screen is gone, input reaches whatever has the focus.
        QWidget* target = front ? static_cast<QWidget*>(front) : QApplication::focusWidget();
        if (!target && !mainWindows().isEmpty())
            target = mainWindows().first();
        QVERIFY(target);
        if (step.endsWith(QLatin1String("click"))) {
            const Qt::MouseButton button = step.startsWith(u'r')   ? Qt::RightButton
                                           : step.startsWith(u'm') ? Qt::MiddleButton
                                                                   : Qt::LeftButton;
            if (front)
                clickAt(front, {}, button);
            else
                QTest::mouseClick(target, button);
            continue;
        }
        const auto key = Qt::Key(keys.keyToValue(("Key_" + step.mid(2)).toLatin1()));
        if (step.startsWith(u'p'))
            QTest::keyPress(target, key);
        else
            QTest::keyRelease(target, key);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QTEST(int(mainWindows().size()), "mainWindows");
    QTEST(ends->calls, "ends");
    if (!mainWindows().isEmpty()) {
        QVERIFY(mainWindows().first()->isVisible());
        QVERIFY(!front || !front->isVisible());
    }
}

void TestFront::busyPointerWhileTheMainWindowLoads()
{
    ShowWatcher watcher;
    qApp->installEventFilter(&watcher);
    clickAt(front);
    qApp->removeEventFilter(&watcher);
    QCOMPARE(watcher.shows, 1);
    QVERIFY(watcher.busyAtShow);
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(mainWindows().first()->windowState() & Qt::WindowMaximized);
}

void TestFront::closedByThePlatformEndsTheProgram()
{
    front->close();
    QCOMPARE(ends->calls, 1);
    QVERIFY(mainWindows().isEmpty());
}

// Logout or shutdown (SIGTERM), a closed terminal (SIGHUP) and Ctrl+C end the program as its
// exit entry does, so the windows still close their diary connections.
void TestFront::terminationSignalsEndTheProgram()
{
    shell::endProgramOnTerminationSignals();
    int expected = 0;
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
        ::raise(signal);
        ++expected;
        QTRY_COMPARE(ends->calls, expected);
    }
}

QTEST_MAIN(TestFront)
#include "tst_front.moc"
