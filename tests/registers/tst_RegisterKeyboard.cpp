// A local programme added with the keyboard alone: the register opened from the menu strip by
// F10, the fields reached with Tab, Kannada typed on the KGP keyboard, Save pressed with Enter and
// the question answered with Enter; then the diary file read back.
#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>

#include "RegisterFixture.h"
#include "data/ProgramFolder.h"
#include "platform/varnel/VarnelCodec.h"
#include "registers/ui/RegisterWindow.h"
#include "registers/ui/RegisterWindows.h"
#include "shell/VelmoraApplication.h"
#include "shell/WindowRegistry.h"
#include "shell/frmMDI.h"
#include "shell/frmquestion.h"
#include "typing/KannadaTyping.h"

class TestRegisterKeyboard : public QObject {
    Q_OBJECT
private slots:
    void addsARecordWithoutTheMouse();
};

namespace {

QWidget* focus(QWidget* fallback)
{
    QWidget* f = QApplication::focusWidget();
    return f ? f : fallback;
}

// The field or button of `w` that has the focus (a picker counts as one control).
QString focusedIn(QWidget* w)
{
    for (QWidget* f = QApplication::focusWidget(); f && f != w; f = f->parentWidget()) {
        if (f->parentWidget() == w)
            return f->objectName();
    }
    return {};
}

bool tabTo(QWidget* w, const QString& name)
{
    for (int i = 0; i < 20 && focusedIn(w) != name; ++i)
        QTest::keyClick(focus(w), Qt::Key_Tab);
    return focusedIn(w) == name;
}

// Answers the next question with Enter, once it has the keyboard.
void pressEnterInTheNextQuestion()
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer] {
        auto* question = qobject_cast<frmquestion*>(QApplication::activeModalWidget());
        if (!question || QApplication::activeWindow() != question)
            return;
        timer->stop();
        timer->deleteLater();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    timer->start(10);
}

} // namespace

void TestRegisterKeyboard::addsARecordWithoutTheMouse()
{
    varnel::KannadaTyping::instance().setLayout(varnel::KeyboardLayout::Kgp);
    RegisterFixture db;
    db.create();
    data::setProgramFolder(db.folder());
    registers::registerWindows();
    frmMDI mdi;
    mdi.show();
    QVERIFY(QTest::qWaitForWindowActive(&mdi));

    // Additions and changes, first entry: the local register.
    for (Qt::Key key : {Qt::Key_F10, Qt::Key_Down, Qt::Key_Return})
        QTest::keyClick(focus(&mdi), key);
    auto* w = qobject_cast<registers::RegisterWindow*>(childWindow(QStringLiteral("frmlocal")));
    QVERIFY(w);
    QVERIFY(!mdi.strip().MenuOpen());

    QVERIFY(tabTo(w, QStringLiteral("TxtTopic")));
    QTest::keyClicks(focus(w), QStringLiteral("pusftk"));
    QVERIFY(tabTo(w, QStringLiteral("TxtVenue")));
    QTest::keyClicks(focus(w), QStringLiteral("purBvn"));
    QVERIFY(tabTo(w, QStringLiteral("ImageSave")));
    pressEnterInTheNextQuestion();
    QTest::keyClick(focus(w), Qt::Key_Return); // returns after the question and the save notice

    const QStringList stored = db.row(QStringLiteral("local"), 1);
    QCOMPARE(stored.size(), 10);
    QCOMPARE(varnel::decode(varnel::fromStoredText(stored[4])), QStringLiteral(u"ಪುಸ್ತಕ"));
    QCOMPARE(varnel::decode(varnel::fromStoredText(stored[5])), QStringLiteral(u"ಪುರಭವನ"));
    QCOMPARE(w->editor().state(), registers::RecordEditor::State::Browsing);
}

int main(int argc, char** argv)
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    VelmoraApplication app(argc, argv);
    TestRegisterKeyboard test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_RegisterKeyboard.moc"
