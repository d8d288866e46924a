// Image buttons: the worked geometry, and hover, press and reset under real mouse input on a
// window laid out like a register (New and Cancel sharing a disc, a frame holding a text box).
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "ShellTestSupport.h"
#include "shell/ImageButton.h"
#include "shell/ImageButtonPanel.h"
#include "shell/Pictures.h"
#include "shell/ShapeWidget.h"
#include "shell/ShellTexts.h"
#include "shell/Twips.h"
#include "widgets/VarnelFonts.h"
#include "widgets/VarnelLabel.h"

namespace {

ImageButtonLayout registerButton(const QString& what, int top, int firstLine, int captionIndex,
                                 const QByteArray& caption, QColor colour)
{
    ImageButtonLayout design;
    design.iconName = "Image" + what;
    design.discName = "Shape" + what;
    design.captionName = QStringLiteral("Label0(%1)").arg(captionIndex);
    design.firstLine = firstLine;
    design.picture = Pictures::icon(Pictures::Icon::Save);
    design.iconAt = QPoint(10560, top);
    design.disc = ImageButtonLayout::kRegisterDisc;
    design.caption = caption;
    design.captionColour = colour;
    design.captionFont = varnel::varnelFont(varnel::VarnelFont::Akshara02, 12);
    return design;
}

} // namespace

class TestImageButton : public QObject {
    Q_OBJECT

private slots:
    void workedGeometry();
    void discsOfTheOtherButtons_data();
    void discsOfTheOtherButtons();
    void iconCentredInAGivenDisc_data();
    void iconCentredInAGivenDisc();

    void init();
    void cleanup();
    void hoverLightsOnlyItsOwnButton();
    void backgroundMoveResetsEverything();
    void pressStaysWhiteUntilTheNextReset();
    void clickRunsTheCommandOnce();
    void otherButtonsPressButRunNoCommand_data();
    void otherButtonsPressButRunNoCommand();
    void newAndCancelShareDiscAndBracket();
    void frameGroundResetsButItsTextBoxDoesNot();
    void resetNeverChangesWhatIsVisible();
    void iconsShowTheButtonsPointer();

private:
    QWidget* form = nullptr;
    QFrame* frame = nullptr;
    QLineEdit* field = nullptr;
    ImageButtonPanel* panel = nullptr;
    ImageButton* newButton = nullptr;
    ImageButton* cancelButton = nullptr;
    ImageButton* saveButton = nullptr;
    ImageButton* deleteButton = nullptr;
    int commands = 0;
};

void TestImageButton::workedGeometry()
{
    const ImageButtonLayout design =
        registerButton("New", 960, 1, 1, shell::newCaption(), Qt::blue);
    QCOMPARE(ImageButton::iconGeometry(design), twRect(10560, 960, 480, 480));
    QCOMPARE(ImageButton::discGeometry(design), twRect(10440, 840, 735, 735));
    const auto lines = ImageButton::bracketGeometry(design);
    // Line0(1) (10080,1275)-(10320,1275); Line0(2) (10080,1275)-(10080,1755);
    // Line0(3) (10080,1755)-(10320,1755).
    QCOMPARE(lines[0], QRect(QPoint(tw(10080), tw(1275)), QPoint(tw(10320) - 1, tw(1275))));
    QCOMPARE(lines[1], QRect(QPoint(tw(10080), tw(1275)), QPoint(tw(10080), tw(1755) - 1)));
    QCOMPARE(lines[2], QRect(QPoint(tw(10080), tw(1755)), QPoint(tw(10320) - 1, tw(1755))));
    QCOMPARE(ImageButton::captionGeometry(design), twRect(10320, 1635, 1215, 315));
}

void TestImageButton::discsOfTheOtherButtons_data()
{
    QTest::addColumn<int>("iconTop");
    QTest::addColumn<int>("discTop");
    QTest::newRow("Save") << 2160 << 2040;
    QTest::newRow("Delete") << 3360 << 3240;
    QTest::newRow("Exit") << 4560 << 4440;
}

void TestImageButton::discsOfTheOtherButtons()
{
    QFETCH(int, iconTop);
    QFETCH(int, discTop);
    const ImageButtonLayout design = registerButton("Save", iconTop, 4, 2, {}, Qt::blue);
    QCOMPARE(ImageButton::discGeometry(design), twRect(10440, discTop, 735, 735));
}

void TestImageButton::iconCentredInAGivenDisc_data()
{
    QTest::addColumn<QPoint>("discAt");
    QTest::addColumn<int>("disc");
    QTest::newRow("find, local list") << QPoint(8460, 480) << ImageButtonLayout::kListDisc;
    QTest::newRow("exit, outstation list") << QPoint(10080, 480) << ImageButtonLayout::kListDisc;
    QTest::newRow("exit, tour list") << QPoint(10560, 600) << ImageButtonLayout::kListDisc;
    QTest::newRow("about") << QPoint(5415, 135) << ImageButtonLayout::kAboutDisc;
    QTest::newRow("register") << QPoint(10440, 840) << ImageButtonLayout::kRegisterDisc;
}

void TestImageButton::iconCentredInAGivenDisc()
{
    QFETCH(QPoint, discAt);
    QFETCH(int, disc);
    ImageButtonLayout design;
    design.disc = disc;
    design.iconAt = ImageButtonLayout::iconInDisc(discAt, disc);
    const QRect d = ImageButton::discGeometry(design);
    QCOMPARE(d, twRect(discAt.x(), discAt.y(), disc, disc));
    // Concentric to the pixel: equal margins, or one more on the right and bottom.
    const QRect icon = ImageButton::iconGeometry(design);
    const int left = icon.left() - d.left();
    const int right = d.right() - icon.right();
    QVERIFY(right == left || right == left + 1);
}

void TestImageButton::init()
{
    form = new QWidget;
    form->resize(800, 500);
    frame = new QFrame(form);
    frame->setObjectName("Frame1");
    frame->setGeometry(20, 20, 500, 400);
    field = new QLineEdit(frame);
    field->setGeometry(50, 50, 200, 30);

    panel = new ImageButtonPanel(form);
    newButton =
        panel->add(registerButton("New", 960, 1, 1, shell::newCaption(), QColor(0, 0, 128)));
    ImageButtonLayout cancel =
        registerButton("Cancel", 960, 1, 0, shell::cancelCaption(), QColor(192, 0, 0));
    cancelButton = panel->addSharingDisc(newButton, cancel);
    cancelButton->setIconVisible(false);
    saveButton =
        panel->add(registerButton("Save", 2160, 4, 2, shell::saveCaption(), QColor(128, 0, 128)));
    deleteButton =
        panel->add(registerButton("Delete", 3360, 7, 3, shell::deleteCaption(), QColor(192, 0, 0)));
    panel->resetOn(form);
    panel->resetOn(frame);
    commands = 0;
    saveButton->setCommand([this] { ++commands; });
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    // Start each case with the pointer on the ground, away from where the last one ended.
    moveTo(form, QPoint(790, 490));
}

void TestImageButton::cleanup()
{
    delete form;
}

namespace {

QStringList shownMarks(QWidget* form)
{
    QStringList shown;
    for (QWidget* w : form->findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if ((name.startsWith("Line0") || name.startsWith("Label0")) && w->isVisible())
            shown << name;
    }
    shown.sort();
    return shown;
}

} // namespace

void TestImageButton::hoverLightsOnlyItsOwnButton()
{
    moveTo(saveButton->icon());
    QCOMPARE(shownMarks(form), QStringList({"Label0(2)", "Line0(4)", "Line0(5)", "Line0(6)"}));
    QCOMPARE(saveButton->disc()->borderColour(), QColor(Qt::white));
    QCOMPARE(saveButton->disc()->fillColour(), QColor(Qt::black));
    QCOMPARE(newButton->disc()->borderColour(), QColor(Qt::black));
    QCOMPARE(saveButton->caption()->text(), QStringLiteral(u"ಉಳಿಸು"));
    QVERIFY(saveButton->caption()->styleSheet().contains(QColor(128, 0, 128).name()));
}

void TestImageButton::backgroundMoveResetsEverything()
{
    moveTo(saveButton->icon());
    // Moving straight from one icon to the next without crossing the ground leaves both lit.
    moveTo(deleteButton->icon());
    QVERIFY(saveButton->isHovered() && deleteButton->isHovered());
    moveTo(form, QPoint(700, 450));
    QVERIFY(shownMarks(form).isEmpty());
    for (ImageButton* b : panel->buttons()) {
        QCOMPARE(b->disc()->borderColour(), QColor(Qt::black));
        QCOMPARE(b->disc()->fillColour(), QColor(Qt::black));
    }
    // The disc takes no mouse events: over its ring the ground's reset runs.
    moveTo(saveButton->icon());
    const QRect disc = saveButton->disc()->geometry();
    moveTo(form, QPoint(disc.center().x(), disc.top() + 2));
    QVERIFY(!saveButton->isHovered());
}

void TestImageButton::pressStaysWhiteUntilTheNextReset()
{
    QSignalSpy clicked(deleteButton, &ImageButton::clicked);
    moveTo(deleteButton->icon());
    pressAt(deleteButton->icon());
    QVERIFY(deleteButton->isPressed());
    QCOMPARE(deleteButton->disc()->borderColour(), QColor(Qt::white));
    // Dragged off and released outside the icon: no click, and no reaction to the release.
    moveTo(form, QPoint(700, 450));
    releaseAt(form, QPoint(700, 450));
    QCOMPARE(clicked.count(), 0);
    QVERIFY(deleteButton->isPressed());
    moveTo(form, QPoint(700, 440));
    QVERIFY(!deleteButton->isPressed());
}

void TestImageButton::clickRunsTheCommandOnce()
{
    QSignalSpy clicked(saveButton, &ImageButton::clicked);
    clickAt(saveButton->icon());
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(commands, 1);
    // A double click is one click and a second press, not two commands.
    QWidget* icon = saveButton->icon();
    const QPointF at = icon->rect().center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                              QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        const bool down = type != QEvent::MouseButtonRelease;
        QMouseEvent event(type, at, icon->mapToGlobal(at), Qt::LeftButton,
                          down ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(icon, &event);
    }
    QCOMPARE(commands, 2);
}

void TestImageButton::otherButtonsPressButRunNoCommand_data()
{
    QTest::addColumn<int>("button");
    QTest::newRow("right") << int(Qt::RightButton);
    QTest::newRow("middle") << int(Qt::MiddleButton);
}

// Pressing feedback answers any button; the command only the primary one.
void TestImageButton::otherButtonsPressButRunNoCommand()
{
    QFETCH(int, button);
    const auto other = Qt::MouseButton(button);
    QSignalSpy clicked(saveButton, &ImageButton::clicked);
    moveTo(saveButton->icon());
    clickAt(saveButton->icon(), {}, other);
    QVERIFY(saveButton->isPressed());
    QCOMPARE(clicked.count(), 0);
    QCOMPARE(commands, 0);
}

void TestImageButton::newAndCancelShareDiscAndBracket()
{
    QCOMPARE(cancelButton->disc(), newButton->disc());
    QCOMPARE(cancelButton->lines(), newButton->lines());
    moveTo(newButton->icon());
    QCOMPARE(shownMarks(form), QStringList({"Label0(1)", "Line0(1)", "Line0(2)", "Line0(3)"}));
    QCOMPARE(newButton->caption()->text(), QStringLiteral(u"ಹೊಸದು"));
    moveTo(form, QPoint(700, 450));
    newButton->setIconVisible(false);
    cancelButton->setIconVisible(true);
    moveTo(cancelButton->icon());
    QCOMPARE(shownMarks(form), QStringList({"Label0(0)", "Line0(1)", "Line0(2)", "Line0(3)"}));
    QCOMPARE(cancelButton->caption()->text(), QStringLiteral(u"ರದ್ದು"));
    QCOMPARE(newButton->disc()->borderColour(), QColor(Qt::white));
}

void TestImageButton::frameGroundResetsButItsTextBoxDoesNot()
{
    moveTo(saveButton->icon());
    moveTo(field);
    QVERIFY(saveButton->isHovered());
    moveTo(frame, QPoint(300, 300));
    QVERIFY(!saveButton->isHovered());
}

void TestImageButton::resetNeverChangesWhatIsVisible()
{
    newButton->setIconVisible(false);
    deleteButton->setVisible(false);
    panel->reset();
    QVERIFY(!newButton->isIconVisible());
    QVERIFY(newButton->disc()->isVisible());
    QVERIFY(!cancelButton->isIconVisible());
    QVERIFY(!deleteButton->isIconVisible());
    QVERIFY(!deleteButton->disc()->isVisible());
    QVERIFY(saveButton->isIconVisible());
    moveTo(form, QPoint(700, 450));
    QVERIFY(!deleteButton->disc()->isVisible());
}

void TestImageButton::iconsShowTheButtonsPointer()
{
    const QCursor pointer = saveButton->icon()->cursor();
    QCOMPARE(pointer.shape(), Qt::BitmapCursor);
    QCOMPARE(pointer.hotSpot(), QPoint(1, 1));
    // A black arrow with a green outline.
    const QImage arrow = pointer.pixmap().toImage();
    bool green = false, black = false;
    for (int y = 0; y < arrow.height(); ++y) {
        for (int x = 0; x < arrow.width(); ++x) {
            const QColor c = arrow.pixelColor(x, y);
            if (c.alpha() < 250)
                continue;
            green |= c.green() > 150 && c.red() < 80 && c.blue() < 80;
            black |= c.red() < 20 && c.green() < 20 && c.blue() < 20;
        }
    }
    QVERIFY(green && black);
    QCOMPARE(saveButton->icon()->objectName(), QStringLiteral("ImageSave"));
    QCOMPARE(saveButton->disc()->objectName(), QStringLiteral("ShapeSave"));
}

QTEST_MAIN(TestImageButton)
#include "tst_imagebutton.moc"
