// The message, question and save-notice dialogs, answered as a user would, and the seam that
// lets logic tests answer them without an event loop.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "ShellTestSupport.h"
#include "platform/varnel/VarnelCodec.h"
#include "shell/DialogScript.h"
#include "shell/ShapeWidget.h"
#include "shell/VelmoraApplication.h"
#include "shell/frmmsg.h"
#include "shell/frmquestion.h"
#include "shell/frmsave.h"
#include "widgets/VarnelLabel.h"

namespace {

const QByteArray kSaveQuestion(
    "\x47\xBD\xB8\xC0\xC4\x77\xDB\x67\xC0\xC4\xAA\xC0\x20\x7A\xC1\x52\xAF\xC9\x20\xB8\xC0\x6A\xAC"
    "\xC4\x7A\xC9\x41\x69\xC9\xC4\xC3\x3F\x3F\x20\xB8\xC0\x6A\xAC\xC4\x7A\xC0\xDD\xB0\xE8\x20\xBA"
    "\xCB\x7A\xC0\xC4\x20\x55\xC0\xC4\x41\x72\x41\x69\xC0\xC4\xA3\xC0\xC4\xDF\x20\x4D\x77\xDB\x2E");
const QByteArray kCancelQuestion(
    "\x46\x20\xBA\xC9\xC6\xB8\xC0\x20\x7A\xC1\x52\xAF\xC9\x41\x69\xC0\xC4\xA3\xC0\xC4\xDF\x20\x67"
    "\xC0\x7A\xC0\xC4\xDD\x55\xC9\xC6\xBD\xB8\xC0\xA8\xC9\xC3\x50\xC9\x3F\x3F");
const QByteArray kDetailsMessage(
    "\x50\xC1\x41\x69\xC0\xC4\xF0\x50\xC0\xE6\xAA\xC0\xC4\x7A\xC0\x20\xAB\xAA\xC0\x67\xC0\x55\xC0"
    "\xBC\xC0\xA3\xC0\xC4\xDF\x20\xB8\xC0\xC6\x61\xB9\x2E");

// How a question gets closed.
enum class Close {
    Enter,
    Escape,
    YesClick,
    NoClick,
    WindowClose,
    TabToNoThenEnter,
    RightClickYesThenNo
};

void closeQuestion(QWidget* modal, Close how)
{
    auto* q = qobject_cast<frmquestion*>(modal);
    QVERIFY(q);
    switch (how) {
    case Close::Enter: QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); break;
    case Close::Escape: QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); break;
    case Close::YesClick: QTest::mouseClick(q->CmdYes, Qt::LeftButton); break;
    case Close::NoClick: QTest::mouseClick(q->CmdNo, Qt::LeftButton); break;
    case Close::WindowClose: q->close(); break;
    case Close::TabToNoThenEnter:
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        break;
    case Close::RightClickYesThenNo:
        QTest::mouseClick(q->CmdYes, Qt::RightButton);
        QTest::mouseClick(q->CmdYes, Qt::MiddleButton);
        QTest::mouseClick(q->CmdNo, Qt::LeftButton);
        break;
    }
}

} // namespace

Q_DECLARE_METATYPE(Close)

class TestDialogs : public QObject {
    Q_OBJECT

private slots:
    void questionAnswers_data();
    void questionAnswers();
    void twoQuestionsInARow();
    void questionShowsItsTextAndButtons();

    void messageClosesOnEnterNotOnEscape();
    void messageShowsVarnelAndUnicodeTexts();
    void longMessageWrapsCentredInsideTheLabel();
    void textLongerThanTheLabelGrowsTheDialog_data();
    void textLongerThanTheLabelGrowsTheDialog();

    void saveNoticePaintsOneCellPerTickAndClosesOnTheEleventh();
    void saveNoticeClosesItselfAndEveryShowingStartsEmpty();

    void scriptAnswersAndRecordsWithoutAnEventLoop();
    void scriptsNestAndRestore();

    void qtDialogsSpeakKannada();
};

void TestDialogs::questionAnswers_data()
{
    QTest::addColumn<Close>("how");
    QTest::addColumn<bool>("previous");
    QTest::addColumn<bool>("answer");

    QTest::newRow("Enter is Yes") << Close::Enter << false << true;
    QTest::newRow("Escape is No") << Close::Escape << true << false;
    QTest::newRow("Yes button") << Close::YesClick << false << true;
    QTest::newRow("No button") << Close::NoClick << true << false;
    QTest::newRow("closed after a Yes is No") << Close::WindowClose << true << false;
    QTest::newRow("Enter on No is No") << Close::TabToNoThenEnter << true << false;
    QTest::newRow("only the primary button answers") << Close::RightClickYesThenNo << true << false;
}

void TestDialogs::questionAnswers()
{
    QFETCH(Close, how);
    QFETCH(bool, previous);
    frmquestion::msg_Value = previous;
    whenModal([how](QWidget* modal) { closeQuestion(modal, how); });
    const bool answer = frmquestion::ask(kSaveQuestion);
    QTEST(answer, "answer");
    QTEST(frmquestion::msg_Value, "answer");
    QVERIFY(!QApplication::activeModalWidget());
}

void TestDialogs::twoQuestionsInARow()
{
    whenModal([](QWidget* m) { closeQuestion(m, Close::YesClick); });
    QVERIFY(frmquestion::ask(kSaveQuestion));
    whenModal([](QWidget* m) { closeQuestion(m, Close::NoClick); });
    QVERIFY(!frmquestion::ask(kCancelQuestion));
    QVERIFY(!frmquestion::msg_Value);
    whenModal([](QWidget* m) { closeQuestion(m, Close::Enter); });
    QVERIFY(frmquestion::ask(kCancelQuestion));
    QVERIFY(frmquestion::msg_Value);
}

void TestDialogs::questionShowsItsTextAndButtons()
{
    QByteArray shown;
    QString yes, no, title;
    bool yesHasFocus = false;
    whenModal([&](QWidget* modal) {
        auto* q = qobject_cast<frmquestion*>(modal);
        shown = q->Label1->caption();
        yes = q->CmdYes->text();
        no = q->CmdNo->text();
        title = q->windowTitle();
        yesHasFocus = QApplication::focusWidget() == q->CmdYes;
        q->CmdNo_Click();
    });
    frmquestion::ask(kCancelQuestion);
    QCOMPARE(shown, kCancelQuestion);
    QCOMPARE(yes, QStringLiteral(u"ಹೌದು"));
    QCOMPARE(no, QStringLiteral(u"ಇಲ್ಲ"));
    QCOMPARE(title, QStringLiteral("-"));
    QVERIFY(yesHasFocus);
}

void TestDialogs::messageClosesOnEnterNotOnEscape()
{
    bool openAfterEscape = false;
    whenModal([&](QWidget* modal) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        openAfterEscape = modal->isVisible();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    frmmsg::showMessage(kDetailsMessage);
    QVERIFY(openAfterEscape);
    QVERIFY(!QApplication::activeModalWidget());
}

void TestDialogs::messageShowsVarnelAndUnicodeTexts()
{
    QString text, ok;
    whenModal([&](QWidget* modal) {
        auto* m = qobject_cast<frmmsg*>(modal);
        text = m->Label1->text();
        ok = m->Command1->text();
        m->Command1_Click();
    });
    frmmsg::showMessage(kDetailsMessage);
    QCOMPARE(text, varnel::decode(kDetailsMessage));
    QCOMPARE(ok, QStringLiteral(u"ಸರಿ"));

    whenModal([&](QWidget* modal) {
        text = qobject_cast<frmmsg*>(modal)->Label1->text();
        QTest::mouseClick(qobject_cast<frmmsg*>(modal)->Command1, Qt::LeftButton);
    });
    frmmsg::showText(QStringLiteral(u"ದೋಷ 3024: ಕಡತ ಸಿಗಲಿಲ್ಲ"));
    QCOMPARE(text, QStringLiteral(u"ದೋಷ 3024: ಕಡತ ಸಿಗಲಿಲ್ಲ"));
}

void TestDialogs::longMessageWrapsCentredInsideTheLabel()
{
    frmmsg dialog;
    const QByteArray longText = kSaveQuestion + " " + kSaveQuestion;
    dialog.Label1->setCaption(longText);
    QCOMPARE(dialog.Label1->width(), 265); // 3975 twips
    QVERIFY(dialog.Label1->wordWrap());
    QVERIFY(dialog.Label1->alignment() & Qt::AlignHCenter);
    const int oneLine = dialog.Label1->fontMetrics().height();
    QVERIFY(dialog.Label1->heightForWidth(dialog.Label1->width()) >= 2 * oneLine);
}

void TestDialogs::textLongerThanTheLabelGrowsTheDialog_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("grows");
    QTest::newRow("documented message") << varnel::decode(kDetailsMessage) << false;
    QTest::newRow("two questions' worth")
        << varnel::decode(kSaveQuestion + " " + kSaveQuestion) << true;
    QTest::newRow("engine error with a path")
        << QStringLiteral(u"ದೋಷ 3024: Could not find file "
                          u"'/home/someone/Documents/Velmora/diaries/Tarnalist.mdb'. "
                          u"Check that the folder exists and can be read.")
        << true;
}

void TestDialogs::textLongerThanTheLabelGrowsTheDialog()
{
    QFETCH(QString, text);
    QFETCH(bool, grows);
    for (MessageDialogBase* dialog :
         std::initializer_list<MessageDialogBase*>{new frmmsg, new frmquestion}) {
        const QSize designed = dialog->size();
        dialog->Label1->setText(text);
        dialog->growToFitText();
        QCOMPARE(dialog->size() != designed, grows);
        QVERIFY(dialog->Label1->height() >= dialog->Label1->heightForWidth(265));
        // Text, rule and buttons still stand in that order, all inside the dialog.
        QVERIFY(dialog->Line1->y() >= dialog->Label1->geometry().bottom());
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            QVERIFY(button->y() > dialog->Line1->y());
            QVERIFY(dialog->rect().contains(button->geometry()));
        }
        delete dialog;
    }
}

void TestDialogs::saveNoticePaintsOneCellPerTickAndClosesOnTheEleventh()
{
    frmsave notice;
    notice.Timer1->stop(); // the ticks are driven by hand here
    notice.show();
    QCOMPARE(notice.pos(), QPoint(133, 133));
    QCOMPARE(notice.Label2->text(), QStringLiteral(u"ಉಳಿಸಲಾಗುತ್ತಿದೆ....."));
    for (int tick = 1; tick <= frmsave::kCells; ++tick) {
        notice.Timer1_Timer();
        QCOMPARE(notice.cellIndex(), tick);
        for (int k = 0; k < frmsave::kCells; ++k)
            QCOMPARE(notice.cellPainted(k), k < tick);
        QVERIFY(notice.isVisible());
    }
    notice.Timer1_Timer();
    QVERIFY(!notice.isVisible());
    QCOMPARE(notice.cellIndex(), 0);
    QCOMPARE(notice.result(), int(QDialog::Accepted));
}

void TestDialogs::saveNoticeClosesItselfAndEveryShowingStartsEmpty()
{
    for (int showing = 0; showing < 2; ++showing) {
        int paintedAtStart = -1;
        int interval = 0;
        whenModal([&](QWidget* modal) {
            auto* n = qobject_cast<frmsave*>(modal);
            QVERIFY(n);
            interval = n->Timer1->interval();
            paintedAtStart = 0;
            for (int k = 0; k < frmsave::kCells; ++k)
                paintedAtStart += n->cellPainted(k) ? 1 : 0;
            // The first poll may come a tick late; the bar fills from the left all the same.
            QVERIFY(paintedAtStart <= 1);
        });
        frmsave::showNotice(); // returns without any input
        QCOMPARE(interval, 75);
        QVERIFY(paintedAtStart >= 0);
        QVERIFY(!QApplication::activeModalWidget());
    }
}

void TestDialogs::scriptAnswersAndRecordsWithoutAnEventLoop()
{
    DialogScript script;
    script.answer(true).answer(false);
    QVERIFY(frmquestion::ask(kSaveQuestion));
    QVERIFY(frmquestion::msg_Value);
    QVERIFY(!frmquestion::ask(kCancelQuestion));
    QVERIFY(!frmquestion::msg_Value);
    QVERIFY(!frmquestion::ask(kCancelQuestion)); // nothing queued: the default, No
    frmmsg::showMessage(kDetailsMessage);
    frmmsg::showText(QStringLiteral(u"ದೋಷ"));
    frmsave::showNotice();
    QCOMPARE(script.questions, QByteArrayList({kSaveQuestion, kCancelQuestion, kCancelQuestion}));
    QCOMPARE(script.messages, QByteArrayList({kDetailsMessage}));
    QCOMPARE(script.texts, QStringList({QStringLiteral(u"ದೋಷ")}));
    QCOMPARE(script.notices, 1);
    QVERIFY(QApplication::topLevelWidgets().isEmpty() || !QApplication::activeModalWidget());
}

void TestDialogs::scriptsNestAndRestore()
{
    DialogScript outer;
    outer.defaultAnswer = true;
    {
        DialogScript inner;
        QVERIFY(!frmquestion::ask(kSaveQuestion));
        QCOMPARE(inner.questions.size(), 1);
    }
    QVERIFY(frmquestion::ask(kSaveQuestion));
    QCOMPARE(outer.questions.size(), 1);
}

// Qt's dialogs speak Kannada through the translation built into the program.
void TestDialogs::qtDialogsSpeakKannada()
{
    QCOMPARE(QCoreApplication::translate("QFileDialog", "File &name:"),
             QStringLiteral(u"ಕಡತದ ಹೆಸರು (&N):"));
}

int main(int argc, char** argv)
{
    VelmoraApplication app(argc, argv);
    TestDialogs test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_dialogs.moc"
