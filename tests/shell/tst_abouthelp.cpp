// The about card's ways of closing, and the help window with its page present and absent.
#include <QApplication>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include "ShellTestSupport.h"
#include "data/ProgramFolder.h"
#include "platform/varnel/VarnelCodec.h"
#include "shell/HelpBrowser.h"
#include "shell/ImageButton.h"
#include "shell/ShapeWidget.h"
#include "shell/ShellTexts.h"
#include "shell/WindowRegistry.h"
#include "shell/frmMDI.h"
#include "shell/frmabout.h"
#include "shell/frmhelp.h"
#include "widgets/VarnelLabel.h"

namespace {

enum class Act {
    Escape,
    OtherKey,
    EnterKey,
    GroundClick,
    BackClick,
    TextClick,
    FrameClick,
    IconClick,
    GroundRightClick,
    BackRightClick
};

void writeFile(const QString& path, const QString& text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
}

} // namespace

Q_DECLARE_METATYPE(Act)

class TestAboutHelp : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void aboutCloses_data();
    void aboutCloses();
    void aboutIsModalAndShowsTheCredits();
    void aboutBackButtonFeedback();

    void helpShowsThePageFromTheProgramFolder();
    void missingHelpPageShowsNotFoundInside();
    void choosingHelpTwiceDoesNotNavigateAgain();
    void shippedHelpPageLinksAndMenuPaths();

private:
    QTemporaryDir* folder = nullptr;
};

void TestAboutHelp::init()
{
    folder = new QTemporaryDir;
    QVERIFY(folder->isValid());
    data::setProgramFolder(folder->path());
}

void TestAboutHelp::cleanup()
{
    unloadMainWindows();
    delete folder;
}

void TestAboutHelp::aboutCloses_data()
{
    QTest::addColumn<Act>("act");
    QTest::addColumn<bool>("closes");
    QTest::newRow("Escape") << Act::Escape << true;
    QTest::newRow("background click") << Act::GroundClick << true;
    QTest::newRow("back button") << Act::BackClick << true;
    QTest::newRow("other key") << Act::OtherKey << false;
    QTest::newRow("Enter") << Act::EnterKey << false;
    QTest::newRow("click on a text") << Act::TextClick << false;
    QTest::newRow("click on the frame") << Act::FrameClick << false;
    QTest::newRow("right click on the background") << Act::GroundRightClick << false;
    QTest::newRow("right click on the back button") << Act::BackRightClick << false;
    QTest::newRow("click on the icon") << Act::IconClick << false;
}

void TestAboutHelp::aboutCloses()
{
    QFETCH(Act, act);
    frmabout about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    switch (act) {
    case Act::Escape: QTest::keyClick(&about, Qt::Key_Escape); break;
    case Act::OtherKey: QTest::keyClick(&about, Qt::Key_A); break;
    case Act::EnterKey: QTest::keyClick(&about, Qt::Key_Return); break;
    case Act::GroundClick: clickAt(&about, QPoint(10, 270)); break;
    case Act::BackClick: clickAt(about.ImageExit->icon()); break;
    case Act::TextClick: clickAt(about.Label2); break;
    case Act::FrameClick: clickAt(about.Frame1); break;
    case Act::GroundRightClick: clickAt(&about, QPoint(10, 270), Qt::RightButton); break;
    case Act::BackRightClick: clickAt(about.ImageExit->icon(), {}, Qt::RightButton); break;
    case Act::IconClick: clickAt(about.Image1); break;
    }
    QTEST(!about.isVisible(), "closes");
}

void TestAboutHelp::aboutIsModalAndShowsTheCredits()
{
    bool modal = false;
    QString version, development;
    QRect place;
    whenModal([&](QWidget* w) {
        auto* about = qobject_cast<frmabout*>(w);
        modal = about != nullptr;
        version = about->Label6->text();
        development = about->Label2->text();
        place = about->geometry();
        about->ImageExit_Click();
    });
    frmabout about;
    about.exec();
    QVERIFY(modal);
    QCOMPARE(version, shell::versionText()); // the project's version, as the front screen says it
    QVERIFY(development.startsWith(QStringLiteral(u"ತಂತ್ರಾಂಶ ಅಭಿವೃದ್ಧಿ: ")));
    QVERIFY(development.contains(QStringLiteral(u"ವೆಲ್ಮೊರಾ ತಂಡ")));
    QCOMPARE(place, QRect(200, 156, 432, 280));
}

void TestAboutHelp::aboutBackButtonFeedback()
{
    frmabout about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    ImageButton* back = about.ImageExit;
    moveTo(back->icon());
    QVERIFY(back->caption()->isVisible());
    QCOMPARE(back->caption()->text(), QStringLiteral(u"ಹಿಂದಕ್ಕೆ"));
    QCOMPARE(back->disc()->borderColour(), QColor(Qt::white));
    // The caption stays inside the card.
    QVERIFY(about.rect().contains(back->caption()->geometry()));
    QCOMPARE(back->disc()->size(), QSize(55, 55));
    moveTo(&about, QPoint(10, 270));
    QVERIFY(!back->caption()->isVisible());
    QCOMPARE(back->disc()->borderColour(), QColor(Qt::black));
}

void TestAboutHelp::helpShowsThePageFromTheProgramFolder()
{
    writeFile(folder->filePath("help.htm"),
              QStringLiteral(u"<html><body><h1>ಸಹಾಯ</h1><p>ಪರೀಕ್ಷೆಯ ಪುಟ</p></body></html>"));
    frmhelp help;
    QCOMPARE(frmhelp::helpPagePath(), folder->path() + "/help.htm");
    QVERIFY(help.WebBrowser1->toPlainText().contains(QStringLiteral(u"ಪರೀಕ್ಷೆಯ ಪುಟ")));
    QCOMPARE(help.WebBrowser1->source(), QUrl::fromLocalFile(folder->filePath("help.htm")));
    QCOMPARE(help.WebBrowser1->geometry(), QRect(24, 16, 745, 481));
    QVERIFY(help.windowState() & Qt::WindowMaximized);
}

void TestAboutHelp::missingHelpPageShowsNotFoundInside()
{
    frmhelp help;
    const QString text = help.WebBrowser1->toPlainText();
    QVERIFY(text.contains(QStringLiteral(u"ಸಹಾಯ ಪುಟ ಸಿಗಲಿಲ್ಲ")));
    QVERIFY(text.contains(folder->filePath("help.htm")));
}

void TestAboutHelp::choosingHelpTwiceDoesNotNavigateAgain()
{
    EndProgramRecorder ends;
    auto* mdi = new frmMDI;
    mdi->show();
    writeFile(folder->filePath("help.htm"), QStringLiteral("<p>first</p>"));
    QWidget* first = openChildWindow(QStringLiteral("frmhelp"), {}, WindowOpening::Plain);
    writeFile(folder->filePath("help.htm"), QStringLiteral("<p>second</p>"));
    QWidget* again = openChildWindow(QStringLiteral("frmhelp"), {}, WindowOpening::Plain);
    QCOMPARE(again, first);
    auto* help = qobject_cast<frmhelp*>(again);
    QVERIFY(help->WebBrowser1->toPlainText().contains(QStringLiteral("first")));

    // Restored from maximised, the window keeps room for its whole page.
    auto* frame = qobject_cast<QMdiSubWindow*>(help->parentWidget());
    QVERIFY(frame && frame->isMaximized());
    frame->showNormal();
    QVERIFY(help->rect().contains(help->WebBrowser1->geometry()));
    // It stands inside the client area as far as the area is large enough to hold it.
    const QSize area = mdi->mdiArea()->viewport()->size();
    QVERIFY(frame->x() >= 0 && frame->y() >= 0);
    QVERIFY(frame->geometry().right() < qMax(area.width(), frame->width()));
}

void TestAboutHelp::shippedHelpPageLinksAndMenuPaths()
{
    const QString shipped = QStringLiteral(VELMORA_RESOURCES_DIR "/help.htm");
    QVERIFY(QFile::copy(shipped, folder->filePath("help.htm")));
    frmhelp help;
    const QString text = help.WebBrowser1->toPlainText();
    QVERIFY(!text.contains(QStringLiteral(u"ಸಹಾಯ ಪುಟ ಸಿಗಲಿಲ್ಲ")));

    // Every link inside the page leads to an anchor of the page.
    QFile file(shipped);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString source = QString::fromUtf8(file.readAll());
    QSet<QString> anchors;
    for (const auto& m : QRegularExpression(R"re(<a name="([^"]+)")re").globalMatch(source))
        anchors.insert(m.captured(1));
    int links = 0;
    for (const auto& m : QRegularExpression(R"re(<a href="#([^"]+)")re").globalMatch(source)) {
        ++links;
        QVERIFY2(anchors.contains(m.captured(1)), qPrintable(m.captured(1)));
    }
    QVERIFY(links >= 8);

    // The page names the menus and their entries as the program shows them.
    const QList<QByteArray> captions{
        "\xB8\xC9\xC3\xA5\xC0\xF0\x71\xC9\x2F\x20\xA7\x7A\xC0\xAF\xC1\xAA\xC0\x75\xC9",
        "\x50\xC1\x41\x69\xC0\xC4\xF0\x50\xC0\xE6\xAA\xC0\xC4\x55\xC0\xBC\xC0\x20\xA5\xC0\x6E\xD6",
        "\xAA\xC0\x67\xC0\xA2\x55\xC0\xBC\xC0\xC4",
        "\xB8\xC0\xBA\xC1\x41\x69\xC0\xC4",
        "\x76\xC0\x41\x76\xC1\xE6\x41\xB1\xC0\x7A\xC0\x20\xA7\x55\xC9\xCE",
        "\xA4\x55\xC0\xF0\xAA\xC0\xC4\xA3\xC0",
    };
    for (const QByteArray& caption : captions)
        QVERIFY2(text.contains(varnel::decode(caption)), qPrintable(varnel::decode(caption)));
}

QTEST_MAIN(TestAboutHelp)
#include "tst_abouthelp.moc"
