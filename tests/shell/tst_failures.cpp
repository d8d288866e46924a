// A failure in any handler is shown in the message dialog and the program goes on.
#include <stdexcept>

#include <QApplication>
#include <QMdiArea>
#include <QTest>
#include <QTimer>

#include "ShellTestSupport.h"
#include "platform/jet/JetError.h"
#include "shell/DialogScript.h"
#include "shell/FailureReport.h"
#include "shell/VelmoraApplication.h"
#include "shell/WindowRegistry.h"
#include "shell/frmMDI.h"
#include "shell/frmMenu.h"
#include "shell/frmmsg.h"
#include "widgets/VarnelLabel.h"

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
    // An engine error leads with what the user should know, in Kannada, then its number in
    // Kannada digits and what happened: in Kannada for the failures users meet, naming the file
    // the engine named; the engine's own text for the rest.
    const QString open = QStringLiteral(u"ದಿನಚರಿಯ ಕಡತವನ್ನು ತೆರೆಯಲಾಗಲಿಲ್ಲ. ಕಡತವನ್ನು ಬದಲಿಸಿಲ್ಲ.\n\n");
    const QString write = QStringLiteral(u"ದಿನಚರಿಯ ಕಡತಕ್ಕೆ ಬರೆಯಲಾಗಲಿಲ್ಲ. ಏನನ್ನೂ ಅರ್ಧ ಬರೆದಿಲ್ಲ.\n\n");
    const QString meanwhile = QStringLiteral(u"ಇನ್ನೊಂದು ಕಿಟಕಿ ಅಥವಾ ಕಾರ್ಯಕ್ರಮ ಈ ನಡುವೆ ದಿನಚರಿಯನ್ನು "
                                             u"ಬದಲಿಸಿದೆ. ಏನನ್ನೂ ಅರ್ಧ ಬರೆದಿಲ್ಲ.\n\n");
    QTest::newRow("file not found")
        << 3024 << "Could not find the database file '/home/a/Tarnalist.mdb'."
        << open + QStringLiteral(u"ದೋಷ ೩೦೨೪: ಕಡತ ಸಿಗಲಿಲ್ಲ.\nಕಡತ: /home/a/Tarnalist.mdb");
    QTest::newRow("not a diary")
        << 3343 << "The file '/d/Tarnalist.mdb' is not a diary database."
        << open +
               QStringLiteral(u"ದೋಷ ೩೩೪೩: ಇದು ದಿನಚರಿಯ ಕಡತವಲ್ಲ, ಅಥವಾ ಹಾಳಾಗಿದೆ.\nಕಡತ: /d/Tarnalist.mdb");
    QTest::newRow("busy") << 3218 << "database is locked"
                          << QStringLiteral(u"ದಿನಚರಿಯ ಕಡತವನ್ನು ಈಗ ಇನ್ನೊಂದು ಕಿಟಕಿ ಅಥವಾ ಕಾರ್ಯಕ್ರಮ ಬಳಸುತ್ತಿದೆ. "
                                            u"ಸ್ವಲ್ಪ ಸಮಯದ ನಂತರ ಮತ್ತೆ ಪ್ರಯತ್ನಿಸಿ.\n\n"
                                            u"ದೋಷ ೩೨೧೮: ದಿನಚರಿಯ ಕಡತ ಕಾರ್ಯನಿರತವಾಗಿದೆ: ಅದಕ್ಕೆ ಬೀಗ ಹಾಕಲಾಗಿದೆ.");
    QTest::newRow("read-only") << 3051 << "the database file cannot be written"
                               << write +
                                      QStringLiteral(
                                          u"ದೋಷ ೩೦೫೧: ಕಡತವನ್ನು ಓದಬಹುದು ಮಾತ್ರ: ಅದಕ್ಕೆ ಬರೆಯಲು ಅನುಮತಿ ಇಲ್ಲ.");
    QTest::newRow("disk full") << 3026 << "the disk is full"
                               << write + QStringLiteral(u"ದೋಷ ೩೦೨೬: ಡಿಸ್ಕ್ ತುಂಬಿದೆ.");
    QTest::newRow("damaged") << 3049 << "the database file is damaged"
                             << QStringLiteral(u"ದಿನಚರಿಯ ಕಡತವನ್ನು ಓದಲಾಗಲಿಲ್ಲ. ಕಡತವನ್ನು ಬದಲಿಸಿಲ್ಲ.\n\n"
                                               u"ದೋಷ ೩೦೪೯: ದಿನಚರಿಯ ಕಡತ ಹಾಳಾಗಿದೆ.");
    QTest::newRow("deleted meanwhile")
        << 3167 << "Record is deleted."
        << meanwhile + QStringLiteral(u"ದೋಷ ೩೧೬೭: ಈ ದಾಖಲೆಯನ್ನು ಈ ನಡುವೆ ಅಳಿಸಲಾಗಿದೆ.");
    QTest::newRow("any other engine error")
        << 3421 << "Data type conversion error."
        << QStringLiteral(u"ದಿನಚರಿಯ ಕೆಲಸ ನಿಂತಿತು. ಏನನ್ನೂ ಅರ್ಧ ಬರೆದಿಲ್ಲ.\n\n"
                          u"ದೋಷ ೩೪೨೧: Data type conversion error.");
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
    QTest::newRow("engine error") << 0
                                  << QStringLiteral(
                                         u"ದಿನಚರಿಯ ಕಡತವನ್ನು ಈಗ ಇನ್ನೊಂದು ಕಿಟಕಿ ಅಥವಾ ಕಾರ್ಯಕ್ರಮ ಬಳಸುತ್ತಿದೆ. "
                                         u"ಸ್ವಲ್ಪ ಸಮಯದ ನಂತರ ಮತ್ತೆ ಪ್ರಯತ್ನಿಸಿ.\n\n"
                                         u"ದೋಷ ೩೨೧೮: ದಿನಚರಿಯ ಕಡತ ಕಾರ್ಯನಿರತವಾಗಿದೆ: ಅದಕ್ಕೆ ಬೀಗ ಹಾಕಲಾಗಿದೆ.");
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
    QVERIFY(shown.endsWith(QStringLiteral(u"ದೋಷ ೩೦೨೨: ಇದೇ ಕ್ರಮ ಸಂಖ್ಯೆಯ ದಾಖಲೆ ಈಗಾಗಲೇ ಇದೆ.")));
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
    QVERIFY(dialogs.texts.first().contains(QStringLiteral(u"ದೋಷ ೩೩೪೩: ")));
    // The entry's handler itself reports it: nothing is left for Qt's event dispatch to carry.
    mdi->Label1_Click();
    QVERIFY_THROWS_NO_EXCEPTION(mdi->popup(1)->Label1_Click(0));
    QCOMPARE(dialogs.texts.size(), 2);
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
