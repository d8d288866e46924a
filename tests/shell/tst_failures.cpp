// A failure in any handler is shown in the message dialog and the program goes on.
#include <stdexcept>

#include <QApplication>
#include <QMdiArea>
#include <QTest>
#include <QTimer>

#include "ShellTestSupport.h"
#include "platform/jet/JetError.h"
#include "platform/varnel/VarnelLabel.h"
#include "shell/DialogScript.h"
#include "shell/FailureReport.h"
#include "shell/VelmoraApplication.h"
#include "shell/WindowRegistry.h"
#include "shell/frmMDI.h"
#include "shell/frmMenu.h"
#include "shell/frmmsg.h"

namespace {

// A control whose click handler fails.
class FailingButton : public QWidget {
public:
    std::function<void()> fail;

protected:
    void mousePressEvent(QMouseEvent*) override { fail(); }
};

struct NotAStdException {};

} // namespace

class TestFailures : public QObject {
    Q_OBJECT

private slots:
    void failureText_data();
    void failureText();
    void handlerFailureIsShownAndTheProgramGoesOn_data();
    void handlerFailureIsShownAndTheProgramGoesOn();
    void failureShowsTheRealMessageDialog();
    void windowThatFailsToLoadLeavesNothingBehind();
};

void TestFailures::failureText_data()
{
    QTest::addColumn<int>("number"); // 0: a plain std::exception
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    // An engine error leads with what the user should know, in Kannada, then its number and text.
    QTest::newRow("file not found")
        << 3024 << "Could not find file 'Tarnalist.mdb'"
        << QStringLiteral(u"ದಿನಚರಿಯ ಕಡತವನ್ನು ತೆರೆಯಲಾಗಲಿಲ್ಲ. ಕಡತವನ್ನು ಬದಲಿಸಿಲ್ಲ.\n\n"
                          u"ದೋಷ 3024: Could not find file 'Tarnalist.mdb'");
    QTest::newRow("file locked")
        << 3218 << "database is locked"
        << QStringLiteral(u"ದಿನಚರಿಯ ಕಡತವನ್ನು ಈಗ ಇನ್ನೊಂದು ಕಿಟಕಿ ಅಥವಾ ಕಾರ್ಯಕ್ರಮ ಬಳಸುತ್ತಿದೆ. "
                          u"ಸ್ವಲ್ಪ ಸಮಯದ ನಂತರ ಮತ್ತೆ ಪ್ರಯತ್ನಿಸಿ.\n\nದೋಷ 3218: database is locked");
    QTest::newRow("any other engine error")
        << 3421 << "Data type conversion error."
        << QStringLiteral(u"ದಿನಚರಿಯ ಕೆಲಸ ನಿಂತಿತು. ಏನನ್ನೂ ಅರ್ಧ ಬರೆದಿಲ್ಲ.\n\n"
                          u"ದೋಷ 3421: Data type conversion error.");
    QTest::newRow("other failure") << 0 << "disk full" << QStringLiteral(u"ದೋಷ: disk full");
}

void TestFailures::failureText()
{
    QFETCH(int, number);
    QFETCH(QString, text);
    if (number != 0)
        QTEST(::failureText(jet::JetError(number, text)), "shown");
    else
        QTEST(::failureText(std::runtime_error(text.toStdString())), "shown");
}

void TestFailures::handlerFailureIsShownAndTheProgramGoesOn_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("shown");
    QTest::newRow("engine error")
        << 0 << QStringLiteral(u"ದಿನಚರಿಯ ಕಡತವನ್ನು ಈಗ ಇನ್ನೊಂದು ಕಿಟಕಿ ಅಥವಾ ಕಾರ್ಯಕ್ರಮ ಬಳಸುತ್ತಿದೆ. "
                               u"ಸ್ವಲ್ಪ ಸಮಯದ ನಂತರ ಮತ್ತೆ ಪ್ರಯತ್ನಿಸಿ.\n\nದೋಷ 3218: locked");
    QTest::newRow("std exception") << 1 << QStringLiteral(u"ದೋಷ: bad value");
    QTest::newRow("anything else") << 2 << QStringLiteral(u"ಅನಿರೀಕ್ಷಿತ ದೋಷ. ಕೆಲಸ ಅಲ್ಲಿಗೇ ನಿಂತಿತು.");
}

void TestFailures::handlerFailureIsShownAndTheProgramGoesOn()
{
    QFETCH(int, kind);
    DialogScript dialogs;
    FailingButton button;
    button.fail = [kind] {
        if (kind == 0)
            throw jet::JetError(3218, QStringLiteral("locked"));
        if (kind == 1)
            throw std::runtime_error("bad value");
        throw NotAStdException{};
    };
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(dialogs.texts.size(), 1);
    QTEST(dialogs.texts.first(), "shown");
    // The event loop goes on.
    bool ran = false;
    QTimer::singleShot(0, [&ran] { ran = true; });
    QTRY_VERIFY(ran);
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(dialogs.texts.size(), 2);
}

void TestFailures::failureShowsTheRealMessageDialog()
{
    QString shown;
    whenModal([&shown](QWidget* modal) {
        auto* msg = qobject_cast<frmmsg*>(modal);
        QVERIFY(msg);
        shown = msg->Label1->text();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    FailingButton button;
    button.fail = [] { throw jet::JetError(3022, QStringLiteral("duplicate value")); };
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    QVERIFY(shown.endsWith(QStringLiteral(u"ದೋಷ 3022: duplicate value")));
    QVERIFY(!QApplication::activeModalWidget());
}

void TestFailures::windowThatFailsToLoadLeavesNothingBehind()
{
    EndProgramRecorder ends;
    DialogScript dialogs;
    auto* mdi = new frmMDI;
    mdi->show();
    registerChildWindow(QStringLiteral("frmlocal"), []() -> QWidget* {
        throw jet::JetError(3343, QStringLiteral("unrecognized database format"));
    });
    // Through a menu entry, as the user would reach it.
    mdi->Label1_Click();
    QTimer::singleShot(0, [mdi] {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QWidget* entry = mdi->popup(1)->Label1[0];
        QApplication::sendEvent(entry, &press);
        QApplication::sendEvent(entry, &release);
    });
    QTRY_COMPARE(dialogs.texts.size(), 1);
    QVERIFY(dialogs.texts.first().endsWith(QStringLiteral(u"ದೋಷ 3343: unrecognized database format")));
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(mdi->mdiArea()->subWindowList().isEmpty());
    QVERIFY(!mdi->strip().MenuOpen());
    QVERIFY(!mdi->popup(1));
    QCOMPARE(ends.calls, 0);
    unregisterChildWindow(QStringLiteral("frmlocal"));
    unloadMainWindows();
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    VelmoraApplication app(argc, argv);
    TestFailures test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_failures.moc"
