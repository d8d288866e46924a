// The shell without a mouse: the menu strip and its pop-ups by F10, Alt and the arrow keys, the
// help pop-up's choice of Kannada keyboard, and image buttons reached with Tab.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTest>

#include "ShellTestSupport.h"
#include "shell/ImageButton.h"
#include "shell/ImageButtonPanel.h"
#include "shell/KeyboardIndicator.h"
#include "shell/MenuKeys.h"
#include "shell/Pictures.h"
#include "shell/ShapeWidget.h"
#include "shell/WindowRegistry.h"
#include "shell/frmMDI.h"
#include "shell/frmMenu.h"
#include "typing/KannadaTyping.h"
#include "widgets/VarnelFonts.h"
#include "widgets/VarnelLabel.h"

using varnel::KannadaTyping;
using varnel::KeyboardLayout;

namespace {

// Space-separated key names, each sent to whichever control has the focus; "hoverN" moves the
// mouse onto strip label N of `mdi` instead.
void press(const QString& keys, frmMDI* mdi = nullptr)
{
    static const QHash<QString, Qt::Key> named{{"F10", Qt::Key_F10},
                                               {"Alt", Qt::Key_Alt},
                                               {"Left", Qt::Key_Left},
                                               {"Right", Qt::Key_Right},
                                               {"Up", Qt::Key_Up},
                                               {"Down", Qt::Key_Down},
                                               {"Enter", Qt::Key_Return},
                                               {"Esc", Qt::Key_Escape},
                                               {"Space", Qt::Key_Space},
                                               {"Tab", Qt::Key_Tab},
                                               {"Scroll", Qt::Key_ScrollLock}};
    for (const QString& key : keys.split(u' ', Qt::SkipEmptyParts)) {
        if (key.startsWith(u"hover")) {
            moveTo(mdi->Label[key.back().digitValue() - 1]);
            continue;
        }
        QWidget* to = QApplication::focusWidget();
        QVERIFY2(to, qPrintable(key));
        QTest::keyClick(to, named.value(key));
    }
}

ImageButtonLayout buttonAt(const QString& what, int top, int firstLine)
{
    ImageButtonLayout design;
    design.iconName = "Image" + what;
    design.discName = "Shape" + what;
    design.captionName = QStringLiteral("Label0(%1)").arg(firstLine);
    design.firstLine = firstLine;
    design.picture = Pictures::icon(Pictures::Icon::Save);
    design.iconAt = QPoint(3000, top);
    design.caption = QByteArray("\x47\xBD\xB8\xC0\xC4");
    design.captionColour = QColor(128, 0, 128);
    design.captionFont = varnel::varnelFont(varnel::VarnelFont::Akshara02, 12);
    return design;
}

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void stripAndPopups_data();
    void stripAndPopups();
    void enterChoosesTheLitEntry();
    void ctrlF4ClosesTheWindowInFront();
    void helpPopupChoosesTheKannadaKeyboard();
    void imageButtonsByTab();

private:
    frmMDI* mdi = nullptr;
    QLineEdit* field = nullptr;
};

void TestKeyboard::init()
{
    KannadaTyping::instance().setLayout(KeyboardLayout::Kgp);
    KannadaTyping::instance().setSwitchedOn(true);
    mdi = new frmMDI;
    // A working window with a field that has the focus, as while a register is being typed in.
    auto* window = new QWidget;
    field = new QLineEdit(window);
    mdi->mdiArea()->addSubWindow(window)->show();
    mdi->show();
    QVERIFY(QTest::qWaitForWindowActive(mdi));
    field->setFocus();
    QCOMPARE(QApplication::focusWidget(), field);
}

void TestKeyboard::cleanup()
{
    unloadMainWindows();
    mdi = nullptr;
}

// After the keys: is the strip keyboard's, which labels are lit, which pop-up is open and which
// of its entries is lit (-1: none).
void TestKeyboard::stripAndPopups_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("active");
    QTest::addColumn<QString>("highlights");
    QTest::addColumn<int>("popup");
    QTest::addColumn<int>("entry");

    QTest::newRow("F10 lights the first label") << "F10" << true << "1000" << 0 << -1;
    QTest::newRow("Alt alone does too") << "Alt" << true << "1000" << 0 << -1;
    QTest::newRow("right along the strip") << "F10 Right Right" << true << "0010" << 0 << -1;
    QTest::newRow("left wraps round") << "F10 Left" << true << "0001" << 0 << -1;
    QTest::newRow("down opens") << "F10 Down" << true << "1000" << 1 << 0;
    QTest::newRow("enter opens") << "F10 Right Enter" << true << "0100" << 2 << 0;
    QTest::newRow("down through entries") << "F10 Down Down Down" << true << "1000" << 1 << 2;
    QTest::newRow("entries wrap") << "F10 Down Down Down Down" << true << "1000" << 1 << 0;
    QTest::newRow("up from the first") << "F10 Down Up" << true << "1000" << 1 << 2;
    QTest::newRow("right switches the pop-up") << "F10 Down Down Right" << true << "0100" << 2 << 0;
    QTest::newRow("help pop-up has the keyboards")
        << "F10 Left Down Up" << true << "0001" << 4 << 5;
    QTest::newRow("keys go on from the mouse") << "F10 hover3 Down" << true << "0010" << 3 << 0;
    QTest::newRow("escape closes the pop-up") << "F10 Down Esc" << true << "1000" << 0 << -1;
    QTest::newRow("escape again leaves") << "F10 Down Esc Esc" << false << "0000" << 0 << -1;
    QTest::newRow("F10 again leaves") << "F10 Down F10" << false << "0000" << 0 << -1;
    QTest::newRow("Alt again leaves") << "Alt Alt" << false << "0000" << 0 << -1;
}

void TestKeyboard::stripAndPopups()
{
    QFETCH(QString, keys);
    QFETCH(bool, active);
    QFETCH(QString, highlights);
    QFETCH(int, popup);
    QFETCH(int, entry);
    press(keys, mdi);
    QCOMPARE(mdi->menuKeys()->isActive(), active);
    QString lit;
    for (int n = 1; n <= MenuStrip::kLabels; ++n)
        lit += mdi->Shape[n - 1]->isVisible() ? u'1' : u'0';
    QCOMPARE(lit, highlights);
    QCOMPARE(mdi->strip().openPopup(), popup);
    QCOMPARE(mdi->strip().MenuOpen(), popup != 0);
    if (popup)
        QCOMPARE(mdi->popup(popup)->highlightedEntry(), entry);
    // Leaving the strip gives the focus back to the field that had it.
    if (!active)
        QCOMPARE(QApplication::focusWidget(), field);
}

void TestKeyboard::enterChoosesTheLitEntry()
{
    int made = 0;
    registerChildWindow(QStringLiteral("frmfind2"), [&made] {
        ++made;
        auto* w = new QWidget;
        w->setObjectName(QStringLiteral("frmfind2"));
        new QLineEdit(w);
        return w;
    });
    press(QStringLiteral("F10 Right Down Down Enter"));
    unregisterChildWindow(QStringLiteral("frmfind2"));
    QCOMPARE(made, 1);
    QVERIFY(childWindow(QStringLiteral("frmfind2")));
    QVERIFY(!mdi->strip().MenuOpen());
    QVERIFY(!mdi->menuKeys()->isActive());
    QVERIFY(QApplication::focusWidget() != mdi->Picture1);
}

void TestKeyboard::ctrlF4ClosesTheWindowInFront()
{
    QCOMPARE(mdi->mdiArea()->subWindowList().size(), 1);
    QTest::keyClick(field, Qt::Key_F4, Qt::ControlModifier);
    QTRY_VERIFY(mdi->mdiArea()->subWindowList().isEmpty());
    // With no child window left the key does nothing.
    QTest::keyClick(mdi, Qt::Key_F4, Qt::ControlModifier);
}

void TestKeyboard::helpPopupChoosesTheKannadaKeyboard()
{
    KannadaTyping& typing = KannadaTyping::instance();
    KeyboardIndicator* note = mdi->keyboardState();
    QCOMPARE(note->text(), KeyboardIndicator::textFor(KeyboardLayout::Kgp));

    // Help, about, exit, then KGP, ITRANS and none: the fifth entry is ITRANS.
    press(QStringLiteral("F10 Left Down Down Down Down Down"));
    QCOMPARE(mdi->popup(4)->highlightedEntry(), 4);
    QVERIFY(
        mdi->popup(4)->findChild<ShapeWidget*>(QStringLiteral("ShapeKeyboard(0)"))->isVisible());
    press(QStringLiteral("Enter"));
    QCOMPARE(typing.layout(), KeyboardLayout::Itrans);
    QCOMPARE(note->text(), KeyboardIndicator::textFor(KeyboardLayout::Itrans));
    QVERIFY(!mdi->strip().MenuOpen());
    QCOMPARE(QApplication::focusWidget(), field);

    // The mouse chooses the same rows; the dot follows the choice.
    clickAt(mdi->Label[3]);
    frmMenu* help = mdi->popup(4);
    QVERIFY(help->findChild<ShapeWidget*>(QStringLiteral("ShapeKeyboard(1)"))->isVisible());
    QVERIFY(!help->findChild<ShapeWidget*>(QStringLiteral("ShapeKeyboard(0)"))->isVisible());
    auto* none = help->findChild<QLabel*>(QStringLiteral("LabelKeyboard(2)"));
    moveTo(none);
    QCOMPARE(help->highlightedEntry(), 5);
    QVERIFY(help->Shape1[0]->isHidden());
    clickAt(none);
    QCOMPARE(typing.layout(), KeyboardLayout::Off);
    QCOMPARE(note->text(), KeyboardIndicator::textFor(KeyboardLayout::Off));

    // Scroll Lock switches typing off and on again; the note says which is in force.
    typing.setLayout(KeyboardLayout::Kgp);
    typing.toggle();
    QCOMPARE(note->text(), KeyboardIndicator::textFor(KeyboardLayout::Off));
    typing.toggle();
    QCOMPARE(note->text(), KeyboardIndicator::textFor(KeyboardLayout::Kgp));
    QVERIFY(note->testAttribute(Qt::WA_TransparentForMouseEvents));
}

void TestKeyboard::imageButtonsByTab()
{
    QWidget form;
    auto* box = new QLineEdit(&form);
    ImageButtonPanel panel(&form);
    ImageButton* save = panel.add(buttonAt(QStringLiteral("Save"), 960, 1));
    ImageButton* exit = panel.add(buttonAt(QStringLiteral("Exit"), 2160, 4));
    int saves = 0, exits = 0;
    save->setCommand([&saves] { ++saves; });
    exit->setCommand([&exits] { ++exits; });
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    box->setFocus();

    // Tab reaches the first button: it shows the hover look and its caption.
    press(QStringLiteral("Tab"));
    QCOMPARE(QApplication::focusWidget(), save->icon());
    QVERIFY(save->hasKeyboardFocus() && save->isHovered() && save->caption()->isVisible());
    QVERIFY(!exit->isHovered());
    press(QStringLiteral("Enter Space"));
    QCOMPARE(saves, 2);
    QVERIFY(save->isHovered() && !save->isPressed());

    // On to the next: the first goes back to rest.
    press(QStringLiteral("Tab"));
    QVERIFY(!save->isHovered() && exit->isHovered());
    press(QStringLiteral("Space"));
    QCOMPARE(exits, 1);
    QCOMPARE(saves, 2);

    // A mouse click runs the command without taking the focus, so a field keeps it.
    box->setFocus();
    QTest::mouseClick(save->icon(), Qt::LeftButton);
    QCOMPARE(saves, 3);
    QCOMPARE(QApplication::focusWidget(), box);
    // Enter typed in the field is the field's, not a button's.
    press(QStringLiteral("Enter"));
    QCOMPARE(saves, 3);
}

int main(int argc, char** argv)
{
    // The keyboard chosen in the help pop-up is written to a settings file of the test's own.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    TestKeyboard test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_keyboard.moc"
