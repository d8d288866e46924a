#include <QScrollBar>
#include <QTreeWidget>
#include <QtTest>

#include "SampleDiary.h"
#include "TempProgramFolder.h"
#include "agenda/AgendaTexts.h"
#include "agenda/ui/AgendaWindows.h"
#include "agenda/ui/AgendaWindow.h"
#include "platform/jet/Database.h"
#include "registers/ui/RegisterWindow.h"
#include "registers/ui/RegisterWindows.h"
#include "shell/VelmoraApplication.h"
#include "shell/WindowRegistry.h"
#include "shell/frmMDI.h"
#include "widgets/DateTimePicker.h"

// The agenda window on the sample diary: its key, the week of 7-13 December 2026 day by day,
// the clash of local 22 with tour 2 marked, a change by another program followed, Enter opens.
class TestAgendaWindow : public QObject {
    Q_OBJECT
private slots:
    void showsTheWeekMarksClashesAndOpensALine();
};

void TestAgendaWindow::showsTheWeekMarksClashesAndOpensALine()
{
    TempProgramFolder folder;
    const auto diary = openSampleDiary(folder.path());
    registers::registerWindows();
    agenda::registerAgendaWindow();
    frmMDI mdi;
    mdi.show();
    QTest::keyClick(&mdi, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    auto* w = qobject_cast<AgendaWindow*>(childWindow(QStringLiteral("AgendaWindow")));
    QVERIFY(w);
    w->DTPickerFrom->setValue(QDateTime(QDate(2026, 12, 7), QTime(0, 0)));
    w->Reload();
    QCOMPARE(w->GridAgenda->topLevelItemCount(), 7);

    const auto localOnSunday = [w] {
        QTreeWidgetItem* sunday = w->GridAgenda->topLevelItem(6);
        for (int i = 0; i < sunday->childCount(); ++i)
            if (sunday->child(i)->text(2) == QStringLiteral(u"೨೨"))
                return sunday->child(i);
        return static_cast<QTreeWidgetItem*>(nullptr);
    };
    QTreeWidgetItem* clashing = localOnSunday();
    QVERIFY(clashing);
    QCOMPARE(clashing->text(4), agenda::texts::clashWord());
    QVERIFY(clashing->background(3).color() != w->GridAgenda->palette().base().color());

    // Another program adds a programme on the empty Wednesday: the next look shows it.
    diary->Execute(QStringLiteral("INSERT INTO local VALUES (61, '2026-12-09', '', '10:00:00', "
                                  "'x', 'y', '', '', '', '')"));
    QCOMPARE(w->GridAgenda->topLevelItem(2)->child(0)->text(2), QString());
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(w, &activate);
    QCOMPARE(w->GridAgenda->topLevelItem(2)->child(0)->text(2), QStringLiteral(u"೬೧"));

    w->GridAgenda->setFocus();
    w->GridAgenda->setCurrentItem(localOnSunday());
    QTest::keyClick(w->GridAgenda, Qt::Key_Return);
    auto* shown = qobject_cast<registers::RegisterWindow*>(childWindow(QStringLiteral("frmlocal")));
    QVERIFY(shown);
    QCOMPARE(shown->VScroll1()->value(), 22);
}

int main(int argc, char** argv)
{
    VelmoraApplication app(argc, argv);
    TestAgendaWindow test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_agenda_window.moc"
