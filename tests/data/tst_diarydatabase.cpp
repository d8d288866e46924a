// Finding, creating and refusing the diary file.
#include <thread>

#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>

#include "RecordsetHelpers.h"
#include "SampleDiary.h"
#include "TempProgramFolder.h"
#include "data/DiaryDatabase.h"
#include "data/DiarySchema.h"
#include "data/ProgramFolder.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetError.h"
#include "platform/jet/Recordset.h"

namespace {

// A diary whose local register holds one row with serial number `marker`, so a test can tell
// which of several files was opened.
void writeMarkedDiary(const QString& path, int marker)
{
    auto db = jet::Database::CreateDatabase(path);
    data::createDiarySchema(*db);
    db->Execute(QStringLiteral("INSERT INTO local (sl_no, tarna_date, tarna_time) "
                               "VALUES (%1, '2024-01-01', '10:00:00')")
                    .arg(marker));
}

// The folder made read-only for the test's life: by its mode for an ordinary user, by a
// read-only bind mount for root (whom modes do not stop).
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& folder) : m_folder(folder)
    {
        if (::geteuid() != 0) {
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
            m_path = folder;
            return;
        }
        m_path = folder + QStringLiteral("-ro");
        QDir().mkdir(m_path);
        m_mounted = QProcess::execute(QStringLiteral("mount"),
                                      {QStringLiteral("--bind"), folder, m_path}) == 0;
        if (m_mounted && QProcess::execute(QStringLiteral("mount"),
                                           {QStringLiteral("-o"), QStringLiteral("remount,ro,bind"),
                                            m_path}) != 0) {
            unmount();
        }
    }
    ~ReadOnlyFolder()
    {
        if (::geteuid() != 0)
            QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        unmount();
    }
    bool active() const { return ::access(QFile::encodeName(m_path).constData(), W_OK) != 0; }
    QString path() const { return m_path; }

private:
    void unmount()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {m_path});
        m_mounted = false;
        if (m_path != m_folder)
            QDir().rmdir(m_path);
    }
    QString m_folder;
    QString m_path;
    bool m_mounted = false;
};

int marker(jet::Database& db)
{
    auto rs = db.OpenRecordset(QStringLiteral("Select * from local order by sl_no"));
    return rs->RecordCount() == 1 ? rs->Fields(0).Value().toInt() : -1;
}

QByteArray fileDigest(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// The diary files proper, without the journal files beside an open one.
QStringList diaryFilesIn(const QString& folder)
{
    QStringList out;
    for (const QString& name : filesIn(folder)) {
        if (name.endsWith(QLatin1String(".mdb"), Qt::CaseInsensitive))
            out << name;
    }
    return out;
}

} // namespace

class TestDiaryDatabase : public QObject {
    Q_OBJECT

private slots:
    void programFolderCanBeOverridden()
    {
        const QString before = data::programFolder();
        {
            TempProgramFolder folder;
            QCOMPARE(data::programFolder(), folder.path());
        }
        QCOMPARE(data::programFolder(), before);
    }

    void theFileIsFoundInAnyLetterCase_data()
    {
        QTest::addColumn<QString>("onDisk");
        QTest::addColumn<QString>("asked");
        for (const char* onDisk :
             {"Tarnalist.mdb", "tarnalist.mdb", "TARNALIST.MDB", "tArNaLiSt.MdB"}) {
            for (const char* asked : {"\\Tarnalist.mdb", "\\tarnalist.mdb", "/TARNALIST.mdb"})
                QTest::addRow("%s asked as %s", onDisk, asked) << onDisk << asked;
        }
    }
    void theFileIsFoundInAnyLetterCase()
    {
        QFETCH(QString, onDisk);
        QFETCH(QString, asked);
        TempProgramFolder folder;
        writeMarkedDiary(folder.filePath(onDisk), 7);
        auto db = data::OpenDiaryDatabase(data::programFolder() + asked);
        QCOMPARE(marker(*db), 7);
        QCOMPARE(QFileInfo(db->path()).fileName(), onDisk);
        QCOMPARE(diaryFilesIn(folder.path()), QStringList{onDisk});
    }

    void amongSeveralSpellingsOneWinsForEveryCaller_data()
    {
        QTest::addColumn<QStringList>("onDisk");
        QTest::addColumn<QString>("winner");
        QTest::newRow("exact spelling wins")
            << QStringList{"tarnalist.mdb", "Tarnalist.mdb", "TARNALIST.MDB"} << "Tarnalist.mdb";
        QTest::newRow("without it, the first in byte order")
            << QStringList{"tarnalist.mdb", "TARNALIST.MDB"} << "TARNALIST.MDB";
    }
    void amongSeveralSpellingsOneWinsForEveryCaller()
    {
        QFETCH(QStringList, onDisk);
        QFETCH(QString, winner);
        TempProgramFolder folder;
        QHash<QString, QByteArray> before;
        for (int i = 0; i < onDisk.size(); ++i) {
            writeMarkedDiary(folder.filePath(onDisk[i]), i + 1);
            before[onDisk[i]] = fileDigest(folder.filePath(onDisk[i]));
        }
        const int expected = int(onDisk.indexOf(winner)) + 1;
        for (const char* asked : {"\\Tarnalist.mdb", "\\tarnalist.mdb"}) {
            auto db = data::OpenDiaryDatabase(folder.path() + QLatin1String(asked));
            QCOMPARE(marker(*db), expected);
        }
        // Nothing merged or deleted: the other files are as they were.
        for (const QString& name : onDisk) {
            QVERIFY(QFile::exists(folder.filePath(name)));
            if (name != winner)
                QCOMPARE(fileDigest(folder.filePath(name)), before[name]);
        }
    }

    void aMissingFileIsCreatedWithTheSixTables()
    {
        TempProgramFolder folder;
        auto db = data::OpenDiaryDatabase(folder.diaryPath());
        QCOMPARE(diaryFilesIn(folder.path()), QStringList{QStringLiteral("Tarnalist.mdb")});
        for (const QString& table : data::diaryTableNames()) {
            auto rs = db->OpenRecordset(QStringLiteral("Select * from %1").arg(table));
            QCOMPARE(rs->RecordCount(), 0); // empty registers and staging tables are valid
            QVERIFY(rs->isUpdatable());
        }
        // Its identity is made with it, before any export asks for one.
        QCOMPARE(db->OpenRecordset(QStringLiteral("Select * from diary_identity"))->RecordCount(),
                 1);
        // Made under the lower-case name of the search windows, it is still "Tarnalist.mdb".
        TempProgramFolder other;
        data::OpenDiaryDatabase(other.path() + QStringLiteral("\\tarnalist.mdb"));
        QVERIFY(QFile::exists(other.filePath(QStringLiteral("Tarnalist.mdb"))));
        QVERIFY(QFileInfo(other.filePath(QStringLiteral("Tarnalist.mdb"))).permissions() &
                QFile::ReadOther);
    }

    void columnsStandInTheDocumentedOrder_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("columns");
        const QStringList programme = {"sl_no",          "tarna_date", "day_name", "tarna_time",
                                       "topic",          "venue",      "address",  "telephone",
                                       "contact_person", "others"};
        const QStringList tour = {
            "sl_no",           "travel_from",      "travel_to",      "travel_date_from",
            "travel_day_from", "travel_time_from", "travel_date_to", "travel_day_to",
            "travel_time_to",  "travel_type",      "others"};
        const QStringList range = {"range_from", "range_to"};
        QTest::newRow("local") << "local" << programme;
        QTest::newRow("outstation") << "outstation" << programme;
        QTest::newRow("tour") << "tour" << tour;
        QTest::newRow("temp_local") << "temp_local" << programme + range;
        QTest::newRow("temp_outstation") << "temp_outstation" << programme + range;
        QTest::newRow("temp_tour") << "temp_tour" << tour + range;
    }
    void columnsStandInTheDocumentedOrder()
    {
        QFETCH(QString, table);
        QFETCH(QStringList, columns);
        TempProgramFolder folder;
        auto db = data::OpenDiaryDatabase(folder.diaryPath());
        auto rs = db->OpenRecordset(QStringLiteral("Select * from %1").arg(table));
        QStringList names;
        for (int i = 0; i < rs->FieldCount(); ++i)
            names << rs->Fields(i).Name();
        QCOMPARE(names, columns);
        if (!table.startsWith(QLatin1String("temp_")))
            QCOMPARE(data::registerColumns(table), columns);
    }

    // What the windows write: digits as text into sl_no, "HH:mm" into staging times, empty
    // texts; and what the file refuses: a repeated serial number in a register.
    void columnsTakeWhatTheWindowsWrite()
    {
        TempProgramFolder folder;
        auto db = data::OpenDiaryDatabase(folder.diaryPath());
        auto stage = db->OpenRecordset(QStringLiteral("Select * from temp_tour"));
        stage->AddNew();
        stage->Fields(0).setValue(QStringLiteral("12"));
        stage->Fields(3).setValue(QDate(2024, 3, 5));
        stage->Fields(5).setValue(QStringLiteral("21:05"));
        stage->Fields(8).setValue(QStringLiteral("06:30"));
        stage->Fields(11).setValue(QDate(2024, 3, 1));
        stage->Fields(12).setValue(QDate(2024, 3, 31));
        stage->Update();
        stage->MoveFirst();
        QCOMPARE(stage->Fields(0).Value(), QVariant(12));
        QCOMPARE(stage->Fields(5).Value(), QVariant(QByteArray("21:05")));
        QCOMPARE(stage->Fields(1).Value(), QVariant(QByteArray("")));

        auto reg = db->OpenRecordset(QStringLiteral("Select * from local order by sl_no"),
                                     jet::RecordsetType::Dynaset);
        for (int attempt = 0; attempt < 2; ++attempt) {
            reg->AddNew();
            reg->Fields(0).setValue(QStringLiteral("1"));
            reg->Fields(1).setValue(QDate(2024, 3, 5));
            reg->Fields(3).setValue(QTime(21, 5));
            if (attempt == 0) {
                reg->Update();
            } else {
                QCOMPARE(jetErrorNumber([&] { reg->Update(); }), jet::errors::kDuplicateValue);
                reg->CancelUpdate();
            }
        }
        QCOMPARE(reg->RecordCount(), 1);
    }

    void theSampleDiaryLoads()
    {
        TempProgramFolder folder;
        auto db = openSampleDiary(folder.path());
        const QList<std::pair<QString, int>> counts = {
            {"local", 60}, {"outstation", 30}, {"tour", 20}};
        for (const auto& [table, rows] : counts) {
            auto rs =
                db->OpenRecordset(QStringLiteral("Select * from %1 order by sl_no").arg(table));
            QCOMPARE(rs->RecordCount(), rows);
            QCOMPARE(serials(*rs), serialRange(1, rows));
        }
        auto rs = db->OpenRecordset(QStringLiteral("Select * from local order by sl_no"));
        QCOMPARE(rs->Fields(1).Value(), QVariant(QDate(2026, 12, 20)));
        QCOMPARE(rs->Fields(2).Value(),
                 QVariant(QByteArray("\xA8\x73\xC1\xA3\xC0\xC4\xAA\xC1\x67\xC0")));
        QCOMPARE(rs->Fields(3).Value(), QVariant(QTime(9, 15, 9)));
    }

    // A file of that name which is not an SQLite database is reported by name, byte-identical.
    void foreignFilesAreNeverModified_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("mentions");
        QByteArray jet(2048, '\0');
        jet.replace(4, 15, "Standard Jet DB");
        QByteArray ace(2048, '\0');
        ace.replace(4, 15, "Standard ACE DB");
        QByteArray damaged("SQLite format 2\0", 16);
        damaged += QByteArray(4080, '\x5A');
        QByteArray damagedSqlite("SQLite format 3\0", 16);
        damagedSqlite += QByteArray(4080, '\x5A');
        QTest::newRow("legacy Jet file") << jet << "Jet (.mdb) format";
        QTest::newRow("a Jet file of a later version") << ace << "Jet (.mdb) format";
        QTest::newRow("damaged") << damaged << "damaged";
        QTest::newRow("damaged behind an SQLite header") << damagedSqlite << "damaged";
        QTest::newRow("text") << QByteArray("Dear diary,\n") << "damaged";
        QTest::newRow("empty") << QByteArray() << "empty";
    }
    void foreignFilesAreNeverModified()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, mentions);
        TempProgramFolder folder;
        const QString path = folder.filePath(QStringLiteral("tarnalist.MDB"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        try {
            data::OpenDiaryDatabase(folder.diaryPath());
            QFAIL("a foreign file was opened");
        } catch (const jet::JetError& error) {
            QCOMPARE(error.number(), jet::errors::kUnrecognizedFormat);
            QVERIFY2(error.text().contains(path), error.what());
            QVERIFY2(error.text().contains(mentions), error.what());
        }
        QFile check(path);
        QVERIFY(check.open(QIODevice::ReadOnly));
        QCOMPARE(check.readAll(), content);
        QCOMPARE(filesIn(folder.path()), QStringList{QStringLiteral("tarnalist.MDB")});
    }

    void aMissingFolderIsReported()
    {
        TempProgramFolder folder;
        const QString path = folder.filePath(QStringLiteral("gone")) + "\\Tarnalist.mdb";
        try {
            data::OpenDiaryDatabase(path);
            QFAIL("opened in a folder that does not exist");
        } catch (const jet::JetError& error) {
            QVERIFY2(error.text().contains(QLatin1String("gone")), error.what());
        }
    }

    // A folder that cannot be written (a CD, a write-protected share): an existing diary is
    // read, a new one cannot be made and the message names the diary, not a scratch file.
    void aReadOnlyFolderIsBrowsedAndNamed_data()
    {
        QTest::addColumn<bool>("withDiary");
        QTest::newRow("an existing diary is read") << true;
        QTest::newRow("a new diary cannot be made") << false;
    }
    void aReadOnlyFolderIsBrowsedAndNamed()
    {
        QFETCH(bool, withDiary);
        TempProgramFolder folder;
        if (withDiary) {
            writeMarkedDiary(folder.filePath(QStringLiteral("Tarnalist.mdb")), 7);
        }
        ReadOnlyFolder readOnly(folder.path());
        if (!readOnly.active())
            QSKIP("this user can write into any folder and cannot mount one read-only");
        const QString diary = readOnly.path() + QStringLiteral("\\Tarnalist.mdb");
        if (withDiary) {
            for (int round = 0; round < 2; ++round) {
                auto db = data::OpenDiaryDatabase(diary);
                QVERIFY(db->isReadOnly());
                QCOMPARE(marker(*db), 7);
            }
            return;
        }
        try {
            data::OpenDiaryDatabase(diary);
            QFAIL("a diary was made in a read-only folder");
        } catch (const jet::JetError& error) {
            QVERIFY2(error.text().contains(readOnly.path() + QStringLiteral("/Tarnalist.mdb")),
                     error.what());
            QVERIFY2(!error.text().contains(QLatin1String(".new")), error.what());
        }
    }

    void aFolderInTheWayIsNamedWithItsPath()
    {
        TempProgramFolder folder;
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("Tarnalist.mdb")));
        try {
            data::OpenDiaryDatabase(folder.diaryPath());
            QFAIL("a folder was opened as the diary");
        } catch (const jet::JetError& error) {
            QVERIFY2(error.text().contains(folder.filePath(QStringLiteral("Tarnalist.mdb"))),
                     error.what());
            QVERIFY2(!error.text().contains(QLatin1Char('\\')), error.what());
        }
    }

    // Two windows opening a missing diary at the same moment end up on one complete file.
    void twoWindowsCreatingAtOnceShareOneFile()
    {
        for (int round = 0; round < 10; ++round) {
            TempProgramFolder folder;
            std::shared_ptr<jet::Database> opened[4];
            QString failures[4];
            std::vector<std::thread> windows;
            for (int i = 0; i < 4; ++i) {
                windows.emplace_back([&, i] {
                    try {
                        opened[i] = data::OpenDiaryDatabase(folder.diaryPath());
                    } catch (const jet::JetError& error) {
                        failures[i] = error.text();
                    }
                });
            }
            for (std::thread& window : windows)
                window.join();
            for (int i = 0; i < 4; ++i) {
                QVERIFY2(failures[i].isEmpty(), qPrintable(failures[i]));
                QCOMPARE(opened[i]->path(), folder.filePath(QStringLiteral("Tarnalist.mdb")));
                QCOMPARE(opened[i]
                             ->OpenRecordset(QStringLiteral("Select * from temp_tour"))
                             ->FieldCount(),
                         13);
            }
            QCOMPARE(diaryFilesIn(folder.path()), QStringList{QStringLiteral("Tarnalist.mdb")});
            QVERIFY(filesIn(folder.path()).filter(QStringLiteral(".new")).isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(TestDiaryDatabase)
#include "tst_diarydatabase.moc"
