#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "MountedFolder.h"
#include "SampleDiary.h"
#include "ShellTestSupport.h"
#include "TempProgramFolder.h"
#include "backup/BackupFiles.h"
#include "backup/DiaryBackup.h"
#include "backup/ui/BackupTexts.h"
#include "backup/ui/BackupWindows.h"
#include "backup/ui/StartupBackup.h"
#include "backup/ui/RestoreWindow.h"
#include "platform/jet/Database.h"
#include "platform/jet/Recordset.h"
#include "platform/varnel/KannadaDigits.h"
#include "platform/varnel/VarnelCodec.h"
#include "shell/DialogScript.h"
#include "shell/WindowRegistry.h"
#include "shell/frmMDI.h"
#include "shell/frmMenu.h"
#include "shell/frmmsg.h"
#include "shell/frmquestion.h"
#include "widgets/VarnelLabel.h"

namespace {

int localRows(jet::Database& db)
{
    return db.OpenRecordset(QStringLiteral("Select * from local"))->RecordCount();
}

} // namespace

class TestBackupWindows : public QObject {
    Q_OBJECT

private slots:
    void theHelpPopupRestoresAfterTheQuestion_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes restores") << true;
        QTest::newRow("no leaves the diary") << false;
    }
    void theHelpPopupRestoresAfterTheQuestion()
    {
        QFETCH(bool, yes);
        TempProgramFolder folder;
        auto diary = openSampleDiary(folder.path());
        backup::backupDiary(folder.diaryPath(), QDateTime::currentDateTime().addDays(-1));
        diary->Execute(QStringLiteral("DELETE FROM local WHERE sl_no > 10"));

        backup::registerBackupWindows();
        auto* mdi = new frmMDI;
        mdi->show();
        QVERIFY(QTest::qWaitForWindowExposed(mdi));
        clickAt(mdi->Label[3]);
        auto* entry = mdi->popup(4)->findChild<QLabel*>(QStringLiteral("LabelRestore"));
        QVERIFY(entry);
        clickAt(entry);
        auto* window = qobject_cast<RestoreWindow*>(childWindow(QStringLiteral("RestoreWindow")));
        QVERIFY(window);
        QVERIFY(!mdi->popup(4));
        QCOMPARE(window->GridBackups->rowCount(), 1);
        QCOMPARE(window->GridBackups->item(0, 2)->text(), varnel::kannadaDigits("60"));

        QString asked;
        bool noticed = false;
        whenModal([&](QWidget* modal) {
            auto* question = qobject_cast<frmquestion*>(modal);
            if (!question)
                return;
            asked = varnel::decode(question->Label1->caption());
            (yes ? question->CmdYes : question->CmdNo)->click();
            whenModal([&](QWidget* next) {
                if (auto* message = qobject_cast<frmmsg*>(next)) {
                    noticed = true;
                    message->Command1->click();
                }
            });
        });
        window->CmdRestore->click();

        QVERIFY2(asked.contains(QStringLiteral(u"ಮರುಸ್ಥಾಪಿಸಬೇಕೆ")), qPrintable(asked));
        QCOMPARE(noticed, yes);
        QCOMPARE(localRows(*diary), yes ? 60 : 10);
        // The diary as it was before the restore is kept as a backup, and listed.
        QCOMPARE(window->GridBackups->rowCount(), yes ? 2 : 1);
        if (yes)
            QCOMPARE(window->GridBackups->item(0, 2)->text(), varnel::kannadaDigits("10"));
        unloadMainWindows();
        unregisterChildWindow(QStringLiteral("RestoreWindow"));
    }

    void theStartBackupTellsAFailureOnceAndGoesOn_data()
    {
        QTest::addColumn<bool>("withDiary");
        QTest::addColumn<int>("folderKind"); // -1: an ordinary folder
        QTest::addColumn<bool>("made");
        QTest::addColumn<QString>("told");
        QTest::newRow("no diary yet") << false << -1 << false << QString();
        QTest::newRow("the day's first start") << true << -1 << true << QString();
        QTest::newRow("a read-only folder")
            << true << int(MountedFolder::Kind::ReadOnly) << false << backup::texts::folderReadOnly;
        QTest::newRow("a full disk")
            << true << int(MountedFolder::Kind::Full) << false << backup::texts::diskFull;
    }
    void theStartBackupTellsAFailureOnceAndGoesOn()
    {
        QFETCH(bool, withDiary);
        QFETCH(int, folderKind);
        QFETCH(bool, made);
        QFETCH(QString, told);
        TempProgramFolder folder;
        if (withDiary)
            openSampleDiary(folder.path());
        std::unique_ptr<MountedFolder> mounted;
        if (folderKind >= 0) {
            mounted = std::make_unique<MountedFolder>(
                backup::backupFolderFor(folder.filePath(QStringLiteral("Tarnalist.mdb"))),
                MountedFolder::Kind(folderKind));
            if (!mounted->active())
                QSKIP("this machine cannot make such a folder (mount refused)");
        }
        DialogScript script;
        QCOMPARE(backup::backupAtStart(), made);
        QCOMPARE(script.texts.size(), told.isEmpty() ? 0 : 1);
        if (!told.isEmpty()) {
            QVERIFY(script.texts.first().startsWith(backup::texts::startBackupFailed));
            QVERIFY(script.texts.first().contains(told));
        }
        // A second start the same day makes nothing more.
        QVERIFY(!backup::backupAtStart() || !made);
        QVERIFY(!QFileInfo::exists(folder.filePath(QStringLiteral("Tarnalist.mdb"))) || withDiary);
    }
};

QTEST_MAIN(TestBackupWindows)
#include "tst_backup_windows.moc"
