#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPdfDocument>
#include <QPdfView>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>

#include "SampleDiary.h"
#include "TempProgramFolder.h"
#include "platform/jet/Database.h"
#include "platform/jet/Recordset.h"
#include "platform/varnel/VarnelCodec.h"
#include "preview/ReportPreview.h"
#include "preview/ReportWriting.h"
#include "reports/ReportRegister.h"
#include "reports/Stager.h"
#include "reports/ui/ReportWindows.h"
#include "reports/ui/frmreport.h"
#include "reports/ui/frmreport3.h"
#include "shell/DialogScript.h"
#include "shell/ImageButton.h"
#include "shell/WindowRegistry.h"
#include "shell/frmMDI.h"
#include "shell/frmMenu.h"
#include "widgets/DateTimePicker.h"
#include "widgets/VarnelLabel.h"

using reports::ReportRegister;

namespace {

QList<report::ReportPreview*> previews()
{
    QList<report::ReportPreview*> out;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* p = qobject_cast<report::ReportPreview*>(w); p && p->isVisible())
            out << p;
    }
    return out;
}

void setRange(reports::ReportWindow& w, const QDate& first, const QDate& last)
{
    w.DTPickerDate(0)->setValue(QDateTime(first, QTime(0, 0)));
    w.DTPickerDate(1)->setValue(QDateTime(last, QTime(0, 0)));
}

void clickReport(reports::ReportWindow& w)
{
    QTest::mouseClick(w.ImageReport()->icon(), Qt::LeftButton);
}

} // namespace

// The report windows on the offscreen platform: a run from the button to the preview, the
// notices of an empty range, a failing template, and the reports menu.
class TestReportWindows : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void runsEachRegisterIntoAPreview();
    void emptyRangeShowsTheRegistersNotice_data();
    void emptyRangeShowsTheRegistersNotice();
    void missingTemplateIsReportedAndTheWindowGoesOn();
    void longRunShowsProgressAndCanBeStopped();
    void previewByKeyboard();
    void pickersKeepTheRangeInOrder();
    void reportsMenuOpensAndSwitchesTheWindow();

private:
    std::unique_ptr<TempProgramFolder> folder;
    std::shared_ptr<jet::Database> db;
};

void TestReportWindows::init()
{
    folder = std::make_unique<TempProgramFolder>();
    for (const ReportRegister* r :
         {&ReportRegister::local(), &ReportRegister::outstation(), &ReportRegister::tour()})
        QVERIFY(QFile::copy(QStringLiteral(VELMORA_RESOURCES_DIR "/") + r->templateName,
                            folder->filePath(r->templateName)));
    db = openSampleDiary(folder->path());
}

void TestReportWindows::cleanup()
{
    qDeleteAll(previews());
    db.reset();
    folder.reset();
}

void TestReportWindows::runsEachRegisterIntoAPreview()
{
    frmreport programmes;
    setRange(programmes, QDate(2026, 12, 1), QDate(2027, 3, 31));
    clickReport(programmes);
    QCOMPARE(previews().size(), 1);
    report::ReportPreview* local = previews().first();
    QCOMPARE(local->document()->status(), QPdfDocument::Status::Ready);
    QCOMPARE(local->document()->pageCount(), 5);
    QCOMPARE(local->windowTitle(), QStringLiteral(u"ಸ್ಥಳೀಯ ಕಾರ್ಯಕ್ರಮಗಳ ಪಟ್ಟಿ"));
    local->nextPage();
    QCOMPARE(local->currentPage(), 1);
    QCOMPARE(local->findChild<QLabel*>(QStringLiteral("PageNumber"))->text(),
             QStringLiteral(u"ಪುಟ ೨ / ೫"));

    // Saved whole; a file that cannot be written is named to the user.
    DialogScript script;
    const QString saved = folder->filePath(QStringLiteral("saved.pdf"));
    QVERIFY(local->saveTo(saved));
    QFile file(saved);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), local->pdf());
    QVERIFY(!local->saveTo(folder->filePath(QStringLiteral("no/such/folder/x.pdf"))));
    QCOMPARE(script.texts.size(), 1);
    QVERIFY(script.texts[0].contains(QStringLiteral("x.pdf")));
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        local->print();
        QCOMPARE(script.texts.size(), 2);
        QVERIFY(script.texts[1].contains(QStringLiteral(u"ಮುದ್ರಕ")));
    }

    programmes.setOption_tarna(1);
    clickReport(programmes);
    QCOMPARE(previews().size(), 2);

    frmreport3 tours;
    setRange(tours, QDate(2026, 12, 1), QDate(2027, 3, 31));
    clickReport(tours);
    QCOMPARE(previews().size(), 3);

    // The window stays as it was, ready for another run.
    QCOMPARE(programmes.DTPickerDate(0)->Value().date(), QDate(2026, 12, 1));
    QVERIFY(programmes.Option_tarna(1)->isChecked());
}

void TestReportWindows::emptyRangeShowsTheRegistersNotice_data()
{
    QTest::addColumn<int>("option"); // -1: the tour window
    QTest::addColumn<QString>("staging");
    QTest::addColumn<QByteArray>("notice");
    QTest::newRow("local") << 0 << "temp_local" << ReportRegister::local().notice;
    QTest::newRow("outstation") << 1 << "temp_outstation" << ReportRegister::outstation().notice;
    QTest::newRow("tour") << -1 << "temp_tour" << ReportRegister::tour().notice;
}

void TestReportWindows::emptyRangeShowsTheRegistersNotice()
{
    QFETCH(int, option);
    QFETCH(QString, staging);
    QFETCH(QByteArray, notice);
    std::unique_ptr<reports::ReportWindow> w;
    if (option < 0) {
        w = std::make_unique<frmreport3>();
    } else {
        auto* programmes = new frmreport;
        programmes->setOption_tarna(option);
        w.reset(programmes);
    }
    // A full run first, so the empty one has something to clear.
    setRange(*w, QDate(2026, 12, 1), QDate(2027, 3, 31));
    clickReport(*w);
    DialogScript script;
    setRange(*w, QDate(2031, 1, 1), QDate(2031, 1, 31));
    clickReport(*w);
    QCOMPARE(script.messages, QByteArrayList{notice});
    QCOMPARE(previews().size(), 1);
    auto rs = db->OpenRecordset(QStringLiteral("Select * from ") + staging);
    QCOMPARE(rs->RecordCount(), 0);
    QVERIFY(!QApplication::overrideCursor());
}

void TestReportWindows::missingTemplateIsReportedAndTheWindowGoesOn()
{
    QVERIFY(QFile::remove(folder->filePath(QStringLiteral("rpttour.rpt"))));
    frmreport3 tours;
    setRange(tours, QDate(2026, 12, 1), QDate(2027, 3, 31));
    {
        DialogScript script;
        clickReport(tours);
        QCOMPARE(script.texts.size(), 1);
        QVERIFY2(script.texts[0].contains(QStringLiteral("rpttour.rpt")),
                 qPrintable(script.texts[0]));
    }
    QVERIFY(previews().isEmpty());
    QVERIFY(!QApplication::overrideCursor());

    QVERIFY(QFile::copy(QStringLiteral(VELMORA_RESOURCES_DIR "/rpttour.rpt"),
                        folder->filePath(QStringLiteral("rpttour.rpt"))));
    clickReport(tours);
    QCOMPARE(previews().size(), 1);
}

// A run of thousands of rows opens its preview on the first pages while the rest is laid out,
// with its progress and a stop button, and shows the whole report once written. Stopped, the
// preview closes, nothing is said, and the window runs the next report as usual.
void TestReportWindows::longRunShowsProgressAndCanBeStopped()
{
    db->Execute(QStringLiteral(
        "INSERT INTO local SELECT sl_no + 100 * n, tarna_date, day_name, tarna_time, topic, venue, "
        "address, telephone, contact_person, others FROM local, (WITH RECURSIVE k(n) AS (SELECT "
        "1 UNION ALL SELECT n + 1 FROM k WHERE n < 80) SELECT n FROM k)"));
    frmreport programmes;
    setRange(programmes, QDate(2026, 12, 1), QDate(2027, 3, 31));
    DialogScript script;
    clickReport(programmes);
    QCOMPARE(previews().size(), 1);
    report::ReportPreview* preview = previews().first();
    QVERIFY(!preview->isComplete());
    QCOMPARE(preview->document()->pageCount(), report::ReportWriting::kFirstPages);
    QVERIFY(preview->findChild<QLabel*>(QStringLiteral("RunProgress"))->isVisible());
    QVERIFY(!preview->findChild<QToolButton*>(QStringLiteral("SaveAs"))->isEnabled());
    QSignalSpy completed(preview, &report::ReportPreview::completed);
    QVERIFY(completed.wait(60000));
    const int pages = report::runReport(folder->filePath(QStringLiteral("rptlocal.rpt")),
                                        reports::stagedDiaryOpener(db))
                          .pages;
    QVERIFY(pages > report::ReportWriting::kFirstPages);
    QCOMPARE(preview->document()->pageCount(), pages);
    QVERIFY(preview->findChild<QToolButton*>(QStringLiteral("SaveAs"))->isEnabled());
    delete preview;

    clickReport(programmes);
    QCOMPARE(previews().size(), 1);
    QTest::mouseClick(previews().first()->findChild<QToolButton*>(QStringLiteral("Stop")),
                      Qt::LeftButton);
    QTRY_VERIFY(previews().isEmpty());
    QVERIFY(script.texts.isEmpty() && script.messages.isEmpty());
    QVERIFY(!QApplication::overrideCursor());

    setRange(programmes, QDate(2027, 1, 1), QDate(2027, 1, 7));
    clickReport(programmes);
    QCOMPARE(previews().size(), 1);
}

// Paging, zooming (the page being read stays in view), saving, printing and closing by keys.
void TestReportWindows::previewByKeyboard()
{
    frmreport programmes;
    setRange(programmes, QDate(2026, 12, 1), QDate(2027, 3, 31));
    DialogScript script;
    for (const QKeySequence& closing :
         {QKeySequence(Qt::Key_Escape), QKeySequence(QKeySequence::Close)}) {
        clickReport(programmes);
        QCOMPARE(previews().size(), 1);
        report::ReportPreview* p = previews().first();
        QVERIFY(QTest::qWaitForWindowActive(p));
        QVERIFY(p->findChild<QToolButton*>(QStringLiteral("Close"))->isVisible());
        const auto press = [p](const QKeySequence& keys) { QTest::keySequence(p, keys); };
        for (auto [key, page] : {std::pair(Qt::Key_PageDown, 1),
                                 {Qt::Key_End, 4},
                                 {Qt::Key_Home, 0},
                                 {Qt::Key_PageDown, 1},
                                 {Qt::Key_PageDown, 2},
                                 {Qt::Key_PageDown, 3},
                                 {Qt::Key_PageUp, 2}}) {
            press(key);
            QCOMPARE(p->currentPage(), page);
        }
        for (auto zoom : {QKeySequence::ZoomIn, QKeySequence::ZoomOut}) {
            const qreal before = p->view()->zoomFactor();
            press(zoom);
            QCoreApplication::processEvents(); // the view's page follows its scrolling
            QVERIFY(p->view()->zoomFactor() != before);
            QCOMPARE(p->currentPage(), 2);
        }
        // Back to the page's width from close up, on the same page.
        for (int i = 0; i < 4; ++i)
            press(QKeySequence::ZoomIn);
        QCoreApplication::processEvents();
        p->findChild<QToolButton*>(QStringLiteral("FitWidth"))->click();
        QCoreApplication::processEvents();
        QCOMPARE(p->view()->zoomMode(), QPdfView::ZoomMode::FitToWidth);
        QCOMPARE(p->currentPage(), 2);
        // Ctrl+S asks where to save (cancelled here); Ctrl+P prints, or says there is no printer.
        bool askedWhere = false;
        QTimer::singleShot(100, [&askedWhere] {
            askedWhere = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (askedWhere)
                QApplication::activeModalWidget()->close();
        });
        press(QKeySequence::Save);
        QVERIFY(askedWhere);
        p->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(p));
        if (QPrinterInfo::availablePrinters().isEmpty()) {
            press(QKeySequence::Print);
            QVERIFY(script.texts.value(0).contains(QStringLiteral(u"ಮುದ್ರಕ")));
        }
        press(closing);
        QTRY_VERIFY(previews().isEmpty());
    }
}

void TestReportWindows::pickersKeepTheRangeInOrder()
{
    frmreport3 tours;
    const QDate today = QDate::currentDate();
    QCOMPARE(tours.DTPickerDate(0)->Value(), QDateTime(today, QTime(0, 0)));
    QCOMPARE(tours.DTPickerDate(1)->Value(), QDateTime(today, QTime(0, 0)));
    tours.show();
    tours.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&tours));
    setRange(tours, QDate(2026, 12, 7), QDate(2026, 12, 7));
    const auto type = [&tours](int index, const QString& digits) {
        tours.DTPickerDate(index)->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(QApplication::focusWidget(), digits);
    };
    type(1, QStringLiteral("15012027"));
    QCOMPARE(tours.DTPickerDate(0)->Value().date(), QDate(2026, 12, 7));
    QCOMPARE(tours.DTPickerDate(1)->Value().date(), QDate(2027, 1, 15));
    type(0, QStringLiteral("20012027"));
    QCOMPARE(tours.DTPickerDate(1)->Value().date(), QDate(2027, 1, 20));
    QVERIFY(tours.DTPickerDate(1)->isHighlighted() && !tours.DTPickerDate(0)->isHighlighted());
}

void TestReportWindows::reportsMenuOpensAndSwitchesTheWindow()
{
    reports::registerReportWindows();
    frmMDI mdi;
    mdi.show();
    QVERIFY(QTest::qWaitForWindowExposed(&mdi));
    const auto choose = [&mdi](int entry) {
        mdi.Label3_Click();
        QTest::mouseClick(mdi.popup(3)->Label1[entry], Qt::LeftButton);
    };

    choose(0);
    auto* report = qobject_cast<frmreport*>(childWindow(QStringLiteral("frmreport")));
    QVERIFY(report);
    QVERIFY(report->Option_tarna(0)->isChecked());
    auto* frame = qobject_cast<QMdiSubWindow*>(report->parentWidget());
    QVERIFY(frame->windowFlags() & Qt::Tool);
    QVERIFY(!frame->isMaximized());
    QCOMPARE(frame->minimumSize(), frame->maximumSize()); // a fixed border
    QCOMPARE(frame->pos(), QPoint(0, 0));
    setRange(*report, QDate(2027, 1, 5), QDate(2027, 1, 9));

    // Entry 1 with the window open selects outstation in the same window, dates kept.
    choose(1);
    QCOMPARE(childWindow(QStringLiteral("frmreport")), report);
    QVERIFY(report->Option_tarna(1)->isChecked());
    QCOMPARE(report->DTPickerDate(0)->Value().date(), QDate(2027, 1, 5));
    QCOMPARE(&report->selectedRegister(), &ReportRegister::outstation());

    choose(2);
    QVERIFY(qobject_cast<frmreport3*>(childWindow(QStringLiteral("frmreport3"))));
    QCOMPARE(mdi.mdiArea()->subWindowList().size(), 2);
}

QTEST_MAIN(TestReportWindows)
#include "tst_ReportWindows.moc"
