#include <QFile>
#include <QProcess>
#include <QtTest>

#include "FakeRegisterView.h"
#include "RegisterFixture.h"
#include "data/DiaryDatabase.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetError.h"
#include "platform/jet/Recordset.h"
#include "platform/jet/SqlLiteral.h"
#include "platform/jet/Transaction.h"
#include "registers/RecordEditor.h"
#include "registers/RegisterMapping.h"

// The diary shared with other programs: the sqlite3 shell stands for another copy of the
// program or a backup tool that opens the file and closes it again.
class TestSharedDiary : public QObject {
    Q_OBJECT

    static int countWithShell(const QString& path, const QString& table)
    {
        QProcess shell;
        shell.start(QStringLiteral("sqlite3"),
                    {path, QStringLiteral("SELECT count(*) FROM %1;").arg(table)});
        if (!shell.waitForFinished(30000) || shell.exitCode() != 0)
            return -1;
        return shell.readAllStandardOutput().trimmed().toInt();
    }

    static void addRow(jet::Database& db, int serial)
    {
        jet::Transaction transaction(db);
        db.Execute(QStringLiteral("INSERT INTO local (sl_no, tarna_date, tarna_time, topic) "
                                  "VALUES (%1, '2027-01-01', '10:00:00', 'x')")
                       .arg(serial));
        transaction.commit();
    }

private slots:
    void anotherProgramClosingLeavesOurJournalAlone()
    {
        RegisterFixture fixture;
        fixture.create();
        // Two windows of this program hold the diary, the second opened after the first.
        auto first = data::OpenDiaryDatabase(fixture.databasePath());
        auto rs = first->OpenRecordset(QStringLiteral("Select * from local order by sl_no"));
        auto second = data::OpenDiaryDatabase(fixture.databasePath());
        addRow(*first, 1);
        QCOMPARE(countWithShell(fixture.databasePath(), QStringLiteral("local")), 1);
        // The other program must have seen that this one still uses the journal.
        QVERIFY(QFile::exists(fixture.databasePath() + QStringLiteral("-wal")));
        addRow(*second, 2);
        addRow(*first, 3);
        rs.reset();
        first.reset();
        second.reset();
        QCOMPARE(countWithShell(fixture.databasePath(), QStringLiteral("local")), 3);
    }

    void theDiaryFileAloneHoldsEverySavedRecord_data()
    {
        QTest::addColumn<bool>("deleting");
        QTest::newRow("after a save") << false;
        QTest::newRow("after a deletion") << true;
    }
    void theDiaryFileAloneHoldsEverySavedRecord()
    {
        QFETCH(bool, deleting);
        RegisterFixture fixture;
        fixture.create();
        fixture.fill(QStringLiteral("local"), 5);
        FakeRegisterView view;
        registers::RecordEditor editor(registers::RegisterMapping::local(), view);
        view.editor = &editor;
        editor.OpenRegister(fixture.databasePath());
        if (deleting) {
            view.answers << true;
            editor.ImageDelete_Click();
        } else {
            editor.ImageNew_Click();
            view.type(4, QStringLiteral("ಸಭೆ"));
            view.type(5, QStringLiteral("ಸ್ಥಳ"));
            view.answers << true;
            editor.ImageSave_Click();
        }
        // A copy of the file alone, taken while the window is still open, as a plain file
        // copy or a backup of the folder would take it.
        QTemporaryDir copyDir;
        const QString copy = copyDir.filePath(QStringLiteral("copy.mdb"));
        QVERIFY(QFile::copy(fixture.databasePath(), copy));
        QCOMPARE(countWithShell(copy, QStringLiteral("local")), deleting ? 4 : 6);
    }

    void aStatementTextIsOneStatement()
    {
        RegisterFixture fixture;
        fixture.create();
        fixture.fill(QStringLiteral("local"), 3);
        auto db = data::OpenDiaryDatabase(fixture.databasePath());
        for (const char* sql : {"Select * from local order by sl_no; DELETE FROM local",
                                "Select * from local order by sl_no; garbage"}) {
            QVERIFY_THROWS_EXCEPTION(jet::JetError, db->OpenRecordset(QString::fromLatin1(sql)));
        }
        QVERIFY_THROWS_EXCEPTION(jet::JetError,
                                 db->Execute(QStringLiteral("DELETE FROM temp_local; "
                                                            "DELETE FROM local")));
        QCOMPARE(fixture.count(QStringLiteral("local")), 3);
        // A trailing semicolon and blanks are no second statement.
        QCOMPARE(db->OpenRecordset(QStringLiteral("Select * from local order by sl_no ;  "))
                     ->RecordCount(),
                 3);
        // User text enters a statement only as a literal, and stays one.
        const QString sneaky = QStringLiteral("x' OR '1'='1");
        QCOMPARE(db->OpenRecordset(QStringLiteral("Select * from local where topic = ") +
                                   jet::SqlLiteral(sneaky))
                     ->RecordCount(),
                 0);
        QCOMPARE(jet::SqlLiteral(sneaky), QStringLiteral("'x'' OR ''1''=''1'"));
    }
};

QTEST_GUILESS_MAIN(TestSharedDiary)
#include "tst_SharedDiary.moc"
