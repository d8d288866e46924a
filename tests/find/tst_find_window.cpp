#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QtTest>

#include "SampleDiary.h"
#include "TempProgramFolder.h"
#include "find/ui/FindWindows.h"
#include "find/ui/FindWindow.h"
#include "registers/ui/RegisterWindow.h"
#include "registers/ui/RegisterWindows.h"
#include "shell/VelmoraApplication.h"
#include "shell/WindowRegistry.h"
#include "shell/frmMDI.h"
#include "typing/KannadaTyping.h"

// The find window as a user reaches it: its key in the main window, Latin letters typed after
// Scroll Lock, the hits listed while typing, Enter on a hit opens its register window there.
class TestFindWindow : public QObject {
    Q_OBJECT
private slots:
    void latinTypedFindsAndEnterOpensTheRecord();
};

void TestFindWindow::latinTypedFindsAndEnterOpensTheRecord()
{
    TempProgramFolder folder;
    const auto diary = openSampleDiary(folder.path());
    registers::registerWindows();
    find::registerFindWindow();
    frmMDI mdi;
    mdi.show();
    QTest::keyClick(&mdi, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    auto* w = qobject_cast<FindWindow*>(childWindow(QStringLiteral("FindWindow")));
    QVERIFY(w);

    QTest::keyClick(w->TxtFind, Qt::Key_ScrollLock); // Kannada typing off: Latin letters
    QVERIFY(!varnel::KannadaTyping::instance().isSwitchedOn());
    QTest::keyClicks(w->TxtFind, QStringLiteral("bengaluru"));
    QCOMPARE(w->TxtFind->text(), QStringLiteral("bengaluru"));
    QTRY_VERIFY(w->hits().size() > 1);
    qInfo("search took %lld ms for %zu hits", w->lastSearchTime(), w->hits().size());
    for (size_t i = 0; i < w->hits().size(); ++i) {
        const find::FindHit& hit = w->hits()[i];
        QVERIFY(hit.text.mid(hit.matchStart, hit.matchLength).startsWith(u"ಬೆಂಗಳೂರು"));
        if (i > 0)
            QVERIFY(std::pair(hit.date, hit.time) <=
                    std::pair(w->hits()[i - 1].date, w->hits()[i - 1].time));
    }
    // A hit that is not its register's first record, chosen in the list and opened by Enter.
    int row = 0;
    while (w->hits()[size_t(row)].record.serial() == 1)
        ++row;
    const find::FindHit hit = w->hits()[size_t(row)];
    w->GridHits->setFocus();
    w->GridHits->selectRow(row);
    QTest::keyClick(w->GridHits, Qt::Key_Return);
    const QString name = hit.record.which == data::Register::Local ? QStringLiteral("frmlocal")
                         : hit.record.which == data::Register::Outstation
                             ? QStringLiteral("frmoutstation")
                             : QStringLiteral("frmtour");
    QTRY_VERIFY(childWindow(name));
    auto* shown = qobject_cast<registers::RegisterWindow*>(childWindow(name));
    QTRY_COMPARE(shown->VScroll1()->value(), hit.record.serial());
    QCOMPARE(shown->serialText().toInt(), hit.record.serial());
}

int main(int argc, char** argv)
{
    QTemporaryDir cache; // the find index's folder, not the user's
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
    VelmoraApplication app(argc, argv);
    TestFindWindow test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_find_window.moc"
