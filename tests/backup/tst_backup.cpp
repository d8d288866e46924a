#include <sys/stat.h>

#include <sqlite3.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QtTest>

#include "MountedFolder.h"
#include "RecordsetHelpers.h"
#include "SampleDiary.h"
#include "TempProgramFolder.h"
#include "backup/BackupCatalog.h"
#include "backup/BackupFiles.h"
#include "backup/BackupSoundness.h"
#include "backup/DiaryBackup.h"
#include "data/DiaryDatabase.h"
#include "data/DiarySchema.h"
#include "export/DiaryIdentity.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetError.h"
#include "platform/jet/Recordset.h"
#include "platform/jet/SqliteDatabase.h"

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

QByteArray checksum(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
               : QByteArray();
}

// Takes NOT NULL off local.tarna_date, or puts it back, in the file's own schema text.
QString localDateNotNull(bool on)
{
    return QStringLiteral("PRAGMA writable_schema=ON; UPDATE sqlite_schema SET sql = "
                          "replace(sql, %1, %2) WHERE name = 'local'; "
                          "PRAGMA writable_schema=RESET;")
        .arg(on ? "'tarna_date DATE,'" : "'tarna_date DATE NOT NULL,'",
             on ? "'tarna_date DATE NOT NULL,'" : "'tarna_date DATE,'");
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
        const QString id = exports::diaryId(*diary);
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
        QCOMPARE(exports::storedDiaryId(*window), std::optional<QString>(id));
        // The diary is still a WAL diary others can write into.
        window->Execute(QStringLiteral("DELETE FROM tour WHERE sl_no = 20"));
        QCOMPARE(rows(*diary, "tour"), 19);
    }

    void restoreCarriesTheKeptDeletions_data()
    {
        QTest::addColumn<int>("keptInBackup"); // -1: a backup made before deletions were kept
        QTest::addColumn<int>("keptSince");
        QTest::newRow("the backup's replace the diary's") << 2 << 3;
        QTest::newRow("a backup from before keeps none") << -1 << 3;
        QTest::newRow("none at either time") << 0 << 0;
    }
    void restoreCarriesTheKeptDeletions()
    {
        QFETCH(int, keptInBackup);
        QFETCH(int, keptSince);
        TempProgramFolder folder;
        auto diary = openSampleDiary(folder.path());
        const auto keep = [&](int n, const char* topic) {
            for (const QString& statement : data::keptDeletionsStatements())
                diary->Execute(statement);
            for (int i = 0; i < n; ++i)
                diary->Execute(QStringLiteral("INSERT INTO deleted_records (register_name, sl_no, "
                                              "deleted_at, topic) VALUES ('local', 1, "
                                              "'2027-03-01 09:00:00', '%1')")
                                   .arg(QLatin1String(topic)));
        };
        if (keptInBackup >= 0)
            keep(keptInBackup, "before");
        const QString saved = backup::backupDiary(folder.diaryPath(), kMonday);
        if (keptSince > 0)
            keep(keptSince, "since");
        backup::restoreBackup(saved, folder.diaryPath(), kMonday.addSecs(60));

        // Only what the backup held: the table is there in each case, made before or after.
        const auto count = [&](const char* where) {
            return diary
                ->OpenRecordset(
                    QStringLiteral("Select * from deleted_records%1").arg(QLatin1String(where)))
                ->RecordCount();
        };
        QCOMPARE(count(""), qMax(keptInBackup, 0));
        QCOMPARE(count(" where topic = 'before'"), qMax(keptInBackup, 0));
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
        QTest::newRow("a symbolic link to the diary")
            << QByteArray("symlink") << jet::errors::kInvalidOperation;
        QTest::newRow("a hard link to the diary")
            << QByteArray("hard link") << jet::errors::kInvalidOperation;
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
        else if (content.contains("link"))
            QVERIFY(content == "symlink" ? QFile::link(diary->path(), bad)
                                         : ::link(qPrintable(diary->path()), qPrintable(bad)) == 0);
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

    void restoreRefusesUnsoundBackups_data()
    {
        QTest::addColumn<QString>("make");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("says");
        const int damaged = jet::errors::kDamaged, foreign = jet::errors::kUnrecognizedFormat;
        QTest::newRow("a gap in the serial numbers")
            << "DELETE FROM local WHERE sl_no = 5" << damaged << "1-4, 6-60 instead of 1-59";
        QTest::newRow("serial numbers from 0")
            << "UPDATE outstation SET sl_no = sl_no - 1" << damaged << "0-29";
        QTest::newRow("a time that is none")
            << "UPDATE local SET tarna_time = 'xx:yy' WHERE sl_no = 3" << damaged << "'xx:yy'";
        QTest::newRow("a day that does not exist")
            << "UPDATE tour SET travel_date_to = '2027-02-30' WHERE sl_no = 4" << damaged
            << "'2027-02-30'";
        QTest::newRow("binary data as a date")
            << "UPDATE outstation SET tarna_date = x'00ff' WHERE sl_no = 2" << damaged
            << "binary data as its tarna_date";
        QTest::newRow("a date left empty under the diary's layout")
            << localDateNotNull(false) + "UPDATE local SET tarna_date = NULL WHERE sl_no = 7;" +
                   localDateNotNull(true)
            << damaged << "tarna_date";
        QTest::newRow("a date column without NOT NULL")
            << localDateNotNull(false) << foreign << "'tarna_date date'";
        QTest::newRow("a register rebuilt without its rules, a number twice")
            << "ALTER TABLE tour RENAME TO old; CREATE TABLE tour AS SELECT * FROM old; "
               "DROP TABLE old; UPDATE tour SET sl_no = 7 WHERE sl_no = 8"
            << foreign << "'sl_no int'";
        QTest::newRow("a column dropped")
            << "ALTER TABLE tour DROP COLUMN others" << foreign << "no column 'others'";
        QTest::newRow("a register missing")
            << "DROP TABLE outstation" << foreign << "no register outstation";
        QTest::newRow("bytes overwritten") << "damage" << damaged << "damaged";
        QTest::newRow("a FIFO") << "fifo" << jet::errors::kInvalidOperation << "";
    }
    void restoreRefusesUnsoundBackups()
    {
        QFETCH(QString, make);
        QFETCH(int, number);
        QFETCH(QString, says);
        TempProgramFolder folder;
        auto diary = openSampleDiary(folder.path());
        const QString bad = folder.filePath(QStringLiteral("bad.mdb"));
        if (make == QLatin1String("fifo")) {
            QCOMPARE(::mkfifo(QFile::encodeName(bad).constData(), 0600), 0);
        } else {
            backup::copyDiary(*diary, bad);
            QFile file(bad);
            if (make == QLatin1String("damage")) {
                QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(4096));
                file.write(QByteArray(4096, 'x'));
            } else {
                sqlite3* db = nullptr;
                QCOMPARE(sqlite3_open(QFile::encodeName(bad).constData(), &db), SQLITE_OK);
                const int rc =
                    sqlite3_exec(db, make.toUtf8().constData(), nullptr, nullptr, nullptr);
                QVERIFY2(rc == SQLITE_OK, sqlite3_errmsg(db));
                sqlite3_close(db);
            }
        }
        const QByteArray before = checksum(diary->path());

        QString text;
        try {
            backup::restoreBackup(bad, folder.diaryPath(), kMonday);
            QFAIL("the backup was restored");
        } catch (const jet::JetError& error) {
            QCOMPARE(error.number(), number);
            text = error.text();
        }
        QVERIFY2(text.contains(bad) && text.contains(says), qPrintable(text));
        QCOMPARE(checksum(diary->path()), before);
        QVERIFY(!QFileInfo::exists(backup::backupFolderFor(diary->path())));
    }

    void aSaveWhileARestoreRunsIsKeptOrWaitsForIt()
    {
        TempProgramFolder folder;
        auto diary = openSampleDiary(folder.path());
        const QString saved = folder.filePath(QStringLiteral("saved.mdb"));
        backup::copyDiary(*diary, saved);
        // Another program saves between the diary's own backup and the restore's writes.
        auto writer = data::OpenDiaryDatabase(folder.diaryPath());
        sqlite3_busy_timeout(jet::sqliteHandle(*writer), 0);
        bool committed = false;
        backup::testing::setBeforeRestoreWrites([&] {
            committed = jetErrorNumber([&] {
                            writer->Execute(QStringLiteral("DELETE FROM tour WHERE sl_no = 20"));
                        }) == 0;
        });
        const auto unhook = qScopeGuard([] { backup::testing::setBeforeRestoreWrites({}); });

        const QString previous = backup::restoreBackup(saved, folder.diaryPath(), kMonday);
        QVERIFY(!committed || backup::describeBackup(previous).tour == 19 ||
                rows(*diary, "tour") == 19);
    }
};

QTEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"
