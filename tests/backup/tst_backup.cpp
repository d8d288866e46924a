#include <QDir>
#include <QFile>
#include <QtTest>

#include "MountedFolder.h"
#include "RecordsetHelpers.h"
#include "SampleDiary.h"
#include "TempProgramFolder.h"
#include "backup/BackupCatalog.h"
#include "backup/BackupFiles.h"
#include "backup/DiaryBackup.h"
#include "backup/DiaryIdentity.h"
#include "data/DiaryDatabase.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetError.h"
#include "platform/jet/Recordset.h"

namespace {

const QDateTime kMonday(QDate(2027, 3, 1), QTime(9, 30, 0));

int rows(jet::Database& db, const char* table)
{
    return db.OpenRecordset(QStringLiteral("Select * from %1").arg(QLatin1String(table)))
        ->RecordCount();
}

QStringList namesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

class TestBackup : public QObject {
    Q_OBJECT

private slots:
    void aBackupHoldsWhatWasCommittedWhileAWriterHoldsTheDiary()
    {
        TempProgramFolder folder;
        auto diary = openSampleDiary(folder.path());
        // Another window in the middle of a save: its rows are not committed yet.
        auto writer = data::OpenDiaryDatabase(folder.diaryPath());
        writer->BeginTrans();
        writer->Execute(QStringLiteral("DELETE FROM local"));
        writer->Execute(QStringLiteral("DELETE FROM tour WHERE sl_no > 5"));

        const QString made = backup::backupDiary(folder.diaryPath(), kMonday);
        writer->Rollback();

        QCOMPARE(QFileInfo(made).fileName(), QStringLiteral("Tarnalist-2027-03-01-093000.mdb"));
        const backup::BackupEntry entry = backup::describeBackup(made);
        QVERIFY2(entry.readable(), qPrintable(entry.problem));
        QCOMPARE(entry.local, 60);
        QCOMPARE(entry.outstation, 30);
        QCOMPARE(entry.tour, 20);
        // One self-contained file: no journal beside it, no scratch left.
        QCOMPARE(namesIn(backup::backupFolderFor(diary->path())),
                 QStringList{QFileInfo(made).fileName()});
    }

    void theNewestThirtyAreKeptAndOneADayIsMadeAtStart()
    {
        TempProgramFolder folder;
        openSampleDiary(folder.path());
        const QString backups = backup::backupFolderFor(folder.filePath("Tarnalist.mdb"));
        QDir().mkpath(backups);
        QFile other(QDir(backups).filePath(QStringLiteral("notes.txt")));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.close();

        for (int day = 0; day < 32; ++day)
            QVERIFY(backup::dailyBackup(folder.diaryPath(), kMonday.addDays(day)).has_value());
        // Later the same day, nothing more is made.
        QVERIFY(!backup::dailyBackup(folder.diaryPath(), kMonday.addDays(31).addSecs(3600)));

        const QStringList kept = backup::backupFiles(backups);
        QCOMPARE(kept.size(), backup::kKeptBackups);
        QVERIFY(kept.first().endsWith(QStringLiteral("Tarnalist-2027-04-01-093000.mdb")));
        QVERIFY(kept.last().endsWith(QStringLiteral("Tarnalist-2027-03-03-093000.mdb")));
        QVERIFY(other.exists());
        // Two in one second get distinct names, newest first.
        const QString again = backup::backupDiary(folder.diaryPath(), kMonday.addDays(31));
        QVERIFY(again.endsWith(QStringLiteral("Tarnalist-2027-04-01-093000-2.mdb")));
        QCOMPARE(backup::backupFiles(backups).first(), again);
    }

    void aBackupThatCannotBeWrittenLeavesNothingBehind_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("number");
        QTest::newRow("full disk") << int(MountedFolder::Kind::Full) << jet::errors::kDiskFull;
        QTest::newRow("read-only folder")
            << int(MountedFolder::Kind::ReadOnly) << jet::errors::kReadOnly;
    }
    void aBackupThatCannotBeWrittenLeavesNothingBehind()
    {
        QFETCH(int, kind);
        QFETCH(int, number);
        TempProgramFolder folder;
        auto diary = openSampleDiary(folder.path());
        const QString backups = backup::backupFolderFor(diary->path());
        MountedFolder mounted(backups, MountedFolder::Kind(kind));
        if (!mounted.active())
            QSKIP("this machine cannot make such a folder (mount refused)");

        QCOMPARE(jetErrorNumber([&] { backup::dailyBackup(folder.diaryPath(), kMonday); }), number);
        QCOMPARE(namesIn(backups), QStringList());
        QCOMPARE(rows(*diary, "local"), 60);
    }

    void restoringWritesIntoTheDiaryUnderOpenWindows()
    {
        TempProgramFolder folder;
        auto diary = openSampleDiary(folder.path());
        const QString saved = backup::backupDiary(folder.diaryPath(), kMonday);
        // After the backup: the diary gets its id, records are deleted, and a window keeps its
        // own connection open.
        const QString id = backup::diaryId(*diary);
        diary->Execute(QStringLiteral("DELETE FROM local WHERE sl_no > 10"));
        auto window = data::OpenDiaryDatabase(folder.diaryPath());
        const qint64 seen = window->DataVersion();
        QCOMPARE(rows(*window, "local"), 10);

        const QString previous =
            backup::restoreBackup(saved, folder.diaryPath(), kMonday.addSecs(60));

        QVERIFY(window->DataVersion() != seen);
        QCOMPARE(rows(*window, "local"), 60);
        QCOMPARE(rows(*diary, "local"), 60);
        QCOMPARE(backup::describeBackup(previous).local, 10);
        QCOMPARE(backup::storedDiaryId(*window), std::optional<QString>(id));
        // The diary is still a WAL diary others can write into.
        window->Execute(QStringLiteral("DELETE FROM tour WHERE sl_no = 20"));
        QCOMPARE(rows(*diary, "tour"), 19);
    }

    void aBackupThatIsNoDiarysIsRefusedBeforeAnythingIsWritten_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("number");
        QTest::newRow("not a database")
            << QByteArray(4096, 'x') << jet::errors::kUnrecognizedFormat;
        QTest::newRow("a database without registers")
            << QByteArray() << jet::errors::kUnrecognizedFormat;
        QTest::newRow("the diary itself") << QByteArray("diary") << jet::errors::kInvalidOperation;
    }
    void aBackupThatIsNoDiarysIsRefusedBeforeAnythingIsWritten()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, number);
        TempProgramFolder folder;
        auto diary = openSampleDiary(folder.path());
        QString bad = folder.filePath(QStringLiteral("other.mdb"));
        if (content == "diary")
            bad = diary->path();
        else if (content.isEmpty())
            jet::Database::CreateDatabase(bad)->Execute(QStringLiteral("CREATE TABLE t (a)"));
        else {
            QFile file(bad);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        QCOMPARE(jetErrorNumber([&] { backup::restoreBackup(bad, folder.diaryPath(), kMonday); }),
                 number);
        QCOMPARE(rows(*diary, "local"), 60);
        QVERIFY(!QFileInfo::exists(backup::backupFolderFor(diary->path())));
    }

    void restoringTheOldestBackupKeepsItUntilTheNextBackup()
    {
        TempProgramFolder folder;
        openSampleDiary(folder.path());
        for (int day = 0; day < backup::kKeptBackups; ++day)
            backup::backupDiary(folder.diaryPath(), kMonday.addDays(day));
        const QString backups = backup::backupFolderFor(folder.filePath("Tarnalist.mdb"));
        const QString oldest = backup::backupFiles(backups).last();

        backup::restoreBackup(oldest, folder.diaryPath(), kMonday.addDays(40));
        QVERIFY(QFileInfo::exists(oldest));
        QCOMPARE(backup::backupFiles(backups).size(), backup::kKeptBackups + 1);
        backup::backupDiary(folder.diaryPath(), kMonday.addDays(41));
        QCOMPARE(backup::backupFiles(backups).size(), backup::kKeptBackups);
    }
};

QTEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"
