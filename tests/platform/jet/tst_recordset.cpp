// The record set promises the windows rely on, each checked on a real file, and (run with
// VELMORA_TEST_BACKEND=server) on the test run's PostgreSQL server.
#include <sqlite3.h>

#include <QTemporaryDir>
#include <QtTest>

#include "RecordsetHelpers.h"
#include "TestServer.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetError.h"
#include "platform/jet/Recordset.h"
#include "platform/jet/Transaction.h"

using jet::Database;
using jet::JetError;
using jet::Recordset;

namespace {

const char* const kRegister = "CREATE TABLE reg (sl_no INTEGER NOT NULL UNIQUE, day DATE, "
                              "at TIME, note TEXT NOT NULL DEFAULT '')";
// On the server every register carries its identity column last.
const char* const kServerRegister =
    "CREATE TABLE reg (sl_no INTEGER NOT NULL UNIQUE, day DATE, at TIME, note TEXT NOT NULL "
    "DEFAULT '', row_id bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY)";
const QString kBySlNo = QStringLiteral("Select * from reg order by sl_no");

bool onServer()
{
    return qEnvironmentVariable("VELMORA_TEST_BACKEND") == QLatin1String("server");
}

} // namespace

class TestRecordset : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;
    int m_case = 0;
    std::shared_ptr<Database> m_db;

    // A register of `rows` rows numbered 1..rows, added in reverse so that the file's own
    // order differs from the query's.
    void fill(int rows)
    {
        jet::Transaction transaction(*m_db);
        for (int i = rows; i >= 1; --i)
            m_db->Execute(QStringLiteral("INSERT INTO reg VALUES (%1, '2024-03-%2', "
                                         "'10:00:00', 'row %1')")
                              .arg(i)
                              .arg(i % 28 + 1, 2, 10, QLatin1Char('0')));
        transaction.commit();
    }

    // A second connection to the same diary.
    std::shared_ptr<Database> another() const
    {
        return onServer() ? Database::ConnectServer(m_path) : Database::OpenDatabase(m_path);
    }
    QList<int> stored() const
    {
        auto db = another();
        auto rs = db->OpenRecordset(kBySlNo);
        return serials(*rs);
    }
    // The first column of the first row of `sql` as the engine stores it.
    QString storedValue(const QString& sql)
    {
        if (!onServer())
            return storedText(*m_db, sql);
        auto rs = m_db->OpenRecordset(sql, jet::RecordsetType::Snapshot);
        const QVariant value = rs->Fields(0).Value();
        return value.typeId() == QMetaType::QByteArray ? QString::fromLatin1(value.toByteArray())
                                                       : value.toString();
    }

private slots:
    void initTestCase()
    {
        if (onServer()) {
            VELMORA_REQUIRE_TEST_SERVER();
            m_path = freshServerDatabase(QStringLiteral("velmora_recordset"));
        }
    }
    void init()
    {
        if (onServer()) {
            m_db = Database::ConnectServer(m_path);
            m_db->Execute(QStringLiteral("DROP TABLE IF EXISTS reg"));
            m_db->Execute(QString::fromLatin1(kServerRegister));
            return;
        }
        m_path = m_dir.filePath(QStringLiteral("case-%1.db").arg(++m_case));
        m_db = Database::CreateDatabase(m_path);
        m_db->Execute(QString::fromLatin1(kRegister));
    }
    void cleanup() { m_db.reset(); }

    void rowsComeInQueryOrder_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("by serial") << kBySlNo << QList<int>{1, 2, 3, 4, 5};
        QTest::newRow("descending")
            << "Select * from reg order by sl_no desc" << QList<int>{5, 4, 3, 2, 1};
        QTest::newRow("filtered") << "Select * from reg where sl_no >= 3 order by sl_no"
                                  << QList<int>{3, 4, 5};
        QTest::newRow("no order: as added") << "Select * from reg" << QList<int>{5, 4, 3, 2, 1};
        QTest::newRow("empty") << "Select * from reg where sl_no > 99" << QList<int>{};
    }
    void rowsComeInQueryOrder()
    {
        QFETCH(QString, sql);
        QFETCH(QList<int>, expected);
        fill(5);
        auto rs = m_db->OpenRecordset(sql);
        QCOMPARE(rs->RecordCount(), expected.size());
        QCOMPARE(serials(*rs), expected);
    }

    void emptySetIsAtBothEnds()
    {
        auto rs = m_db->OpenRecordset(kBySlNo);
        QCOMPARE(rs->RecordCount(), 0);
        QVERIFY(rs->Eof());
        QVERIFY(rs->Bof());
        QCOMPARE(jetErrorNumber([&] { rs->MoveFirst(); }), jet::errors::kNoCurrentRecord);
        QCOMPARE(jetErrorNumber([&] { rs->Fields(0).Value(); }), jet::errors::kNoCurrentRecord);
    }

    void recordCountIsExactAndIgnoresPendingAdd()
    {
        fill(7);
        auto rs = m_db->OpenRecordset(kBySlNo);
        QCOMPARE(rs->RecordCount(), 7);
        rs->MoveLast();
        QCOMPARE(rs->Fields(0).Value().toInt(), 7);
        rs->MoveFirst();
        QCOMPARE(rs->RecordCount(), 7);
        rs->AddNew();
        rs->Fields(0).setValue(8);
        QCOMPARE(rs->RecordCount(), 7);
        rs->Update();
        QCOMPARE(rs->RecordCount(), 8);
    }

    void addedRowGoesToTheEndAndCurrentRowStays()
    {
        fill(5);
        auto rs = m_db->OpenRecordset(kBySlNo);
        rs->FindFirst(QStringLiteral("sl_no=3"));
        rs->AddNew();
        rs->Fields(0).setValue(0); // would sort first in the query's order
        rs->Fields(3).setValue(QByteArray("new"));
        rs->Update();
        QCOMPARE(rs->Fields(0).Value().toInt(), 3);
        QCOMPARE(serials(*rs), (QList<int>{1, 2, 3, 4, 5, 0}));
        rs->MoveLast();
        QCOMPARE(rs->Fields(3).Value().toByteArray(), QByteArray("new"));
    }

    void addingToAnEmptySetThenFindingIt()
    {
        auto rs = m_db->OpenRecordset(kBySlNo);
        rs->AddNew();
        rs->Fields(0).setValue(1);
        rs->Update();
        QCOMPARE(rs->RecordCount(), 1);
        rs->FindFirst(QStringLiteral("sl_no=1"));
        QVERIFY(!rs->NoMatch());
        QCOMPARE(rs->Fields(0).Value().toInt(), 1);
        QCOMPARE(stored(), QList<int>{1});
    }

    void cancelUpdateReturnsToThePreviousRow()
    {
        fill(10);
        auto rs = m_db->OpenRecordset(kBySlNo);
        rs->FindFirst(QStringLiteral("sl_no=3"));
        rs->AddNew();
        rs->Fields(0).setValue(11);
        QCOMPARE(rs->Fields(0).Value().toInt(), 11);
        QCOMPARE(rs->Fields(3).Value().toByteArray(), QByteArray(""));
        rs->CancelUpdate();
        QCOMPARE(rs->Fields(0).Value().toInt(), 3);
        QCOMPARE(rs->RecordCount(), 10);
        QCOMPARE(stored().size(), 10);
    }

    void editKeepsTheRowInPlace()
    {
        fill(5);
        auto rs = m_db->OpenRecordset(kBySlNo);
        rs->MoveFirst();
        rs->Edit();
        rs->Fields(0).setValue(100);
        rs->Update();
        QCOMPARE(rs->Fields(0).Value().toInt(), 100);
        QCOMPARE(serials(*rs), (QList<int>{100, 2, 3, 4, 5}));
        QCOMPARE(stored(), (QList<int>{2, 3, 4, 5, 100}));
    }

    void editWritesOnlyWhatChanged()
    {
        fill(2);
        auto rs = m_db->OpenRecordset(kBySlNo);
        rs->MoveFirst();
        rs->Edit();
        // Another connection changes a column this edit does not touch.
        auto other = another();
        other->Execute(QStringLiteral("UPDATE reg SET note = 'theirs' WHERE sl_no = 1"));
        rs->Fields(1).setValue(QDate(2030, 1, 2));
        rs->Update();
        QCOMPARE(storedValue("SELECT note || day FROM reg WHERE sl_no = 1"),
                 QStringLiteral("theirs2030-01-02"));
    }

    void deleteLeavesNoCurrentRowUntilAMove_data()
    {
        QTest::addColumn<int>("deleted");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<int>("landsOn"); // 0: end of the set
        QTest::newRow("middle, next") << 3 << true << 4;
        QTest::newRow("middle, previous") << 3 << false << 2;
        QTest::newRow("last, next") << 5 << true << 0;
        QTest::newRow("first, previous") << 1 << false << 0;
    }
    void deleteLeavesNoCurrentRowUntilAMove()
    {
        QFETCH(int, deleted);
        QFETCH(bool, forward);
        QFETCH(int, landsOn);
        fill(5);
        auto rs = m_db->OpenRecordset(kBySlNo);
        rs->FindFirst(QStringLiteral("sl_no=%1").arg(deleted));
        rs->Delete();
        QCOMPARE(rs->RecordCount(), 4);
        QCOMPARE(jetErrorNumber([&] { rs->Fields(0).Value(); }), jet::errors::kRecordDeleted);
        QCOMPARE(jetErrorNumber([&] { rs->Edit(); }), jet::errors::kRecordDeleted);
        forward ? rs->MoveNext() : rs->MovePrevious();
        if (landsOn == 0)
            QVERIFY(forward ? rs->Eof() : rs->Bof());
        else
            QCOMPARE(rs->Fields(0).Value().toInt(), landsOn);
        QVERIFY(!stored().contains(deleted));
    }

    void emptyingBySteppingAndDeleting()
    {
        fill(300);
        auto rs = m_db->OpenRecordset(QStringLiteral("Select * from reg"));
        jet::Transaction transaction(*m_db);
        rs->MoveFirst();
        while (!rs->Eof()) {
            rs->Delete();
            rs->MoveNext();
        }
        transaction.commit();
        QCOMPARE(rs->RecordCount(), 0);
        QVERIFY(stored().isEmpty());
        rs->AddNew(); // the emptied set takes new rows
        rs->Fields(0).setValue(1);
        rs->Update();
        QCOMPARE(stored(), QList<int>{1});
    }

    void deleteAndRenumberKeepsSerialsDense()
    {
        fill(10);
        auto rs = m_db->OpenRecordset(kBySlNo);
        rs->FindFirst(QStringLiteral("sl_no=4"));
        rs->Delete();
        renumberFromOne(*rs);
        QCOMPARE(stored(), (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
        rs->MoveLast();
        QCOMPARE(rs->Fields(3).Value().toByteArray(), QByteArray("row 10"));
    }

    void findFirst_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("criterion");
        QTest::addColumn<int>("found"); // 0: no match
        QTest::newRow("present") << kBySlNo << "sl_no=7" << 7;
        QTest::newRow("spaces") << kBySlNo << " sl_no = 2 " << 2;
        QTest::newRow("absent") << kBySlNo << "sl_no=42" << 0;
        QTest::newRow("outside the set") << "Select * from reg where sl_no < 5"
                                         << "sl_no=7" << 0;
        QTest::newRow("other criterion") << kBySlNo << "note = 'row 9'" << 9;
        QTest::newRow("first in set order") << "Select * from reg order by sl_no desc"
                                            << "sl_no > 3" << 10;
        QTest::newRow("snapshot") << "Select sl_no, note from reg order by sl_no"
                                  << "sl_no=6" << 6;
    }
    void findFirst()
    {
        QFETCH(QString, sql);
        QFETCH(QString, criterion);
        QFETCH(int, found);
        fill(10);
        auto rs = m_db->OpenRecordset(sql);
        rs->MoveLast();
        const int before = rs->Fields(0).Value().toInt();
        rs->FindFirst(criterion);
        QCOMPARE(rs->NoMatch(), found == 0);
        QCOMPARE(rs->Fields(0).Value().toInt(), found == 0 ? before : found);
    }

    void findFirstSeesRowsAddedAndSkipsRowsDeleted()
    {
        fill(3);
        auto rs = m_db->OpenRecordset(kBySlNo);
        rs->FindFirst(QStringLiteral("sl_no=2"));
        rs->Delete();
        rs->FindFirst(QStringLiteral("sl_no=2"));
        QVERIFY(rs->NoMatch());
        rs->AddNew();
        rs->Fields(0).setValue(2);
        rs->Update();
        rs->FindFirst(QStringLiteral("sl_no=2"));
        QVERIFY(!rs->NoMatch());
        rs->MoveNext();
        QVERIFY(rs->Eof()); // the re-added row sits at the end
    }

    void fieldsAreTypedByDeclaredType()
    {
        m_db->Execute(QString::fromUtf8("INSERT INTO reg VALUES (1, '2024-03-05', '21:05:07', "
                                        "'\u00B8\u00C9\u00C6\u00C3A')"));
        auto rs = m_db->OpenRecordset(kBySlNo);
        QCOMPARE(rs->FieldCount(), 4);
        QCOMPARE(rs->Fields(0).Value(), QVariant(1));
        QCOMPARE(rs->Fields(1).Value(), QVariant(QDate(2024, 3, 5)));
        QCOMPARE(rs->Fields(2).Value(), QVariant(QTime(21, 5, 7)));
        QCOMPARE(rs->Fields(3).Value(), QVariant(QByteArray("\xB8\xC9\xC6\xC3\x41")));
        QCOMPARE(rs->Fields(3).Name(), QStringLiteral("note"));
        QCOMPARE(jetErrorNumber([&] { rs->Fields(4); }), jet::errors::kItemNotFound);
    }

    void writtenValuesAreStoredInTheirForms_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QVariant>("readBack");
        const QVariant date(QDate(2024, 3, 5));
        const QVariant time(QTime(21, 5));
        QTest::newRow("int") << 0 << QVariant(12) << "12" << QVariant(12);
        QTest::newRow("qint64") << 0 << QVariant(qint64(13)) << "13" << QVariant(13);
        QTest::newRow("digits text")
            << 0 << QVariant(QStringLiteral(" 14 ")) << "14" << QVariant(14);
        QTest::newRow("digits bytes") << 0 << QVariant(QByteArray("15")) << "15" << QVariant(15);
        QTest::newRow("date") << 1 << date << "2024-03-05" << date;
        QTest::newRow("date-time's date")
            << 1 << QVariant(QDateTime(QDate(2024, 3, 5), QTime(23, 59))) << "2024-03-05" << date;
        QTest::newRow("ISO date text")
            << 1 << QVariant(QStringLiteral("2024-03-05")) << "2024-03-05" << date;
        QTest::newRow("time") << 2 << time << "21:05:00" << time;
        QTest::newRow("time, seconds dropped to whole")
            << 2 << QVariant(QTime(21, 5, 7, 900)) << "21:05:07" << QVariant(QTime(21, 5, 7));
        QTest::newRow("date-time's time")
            << 2 << QVariant(QDateTime(QDate(1899, 12, 30), QTime(9, 30))) << "09:30:00"
            << QVariant(QTime(9, 30));
        QTest::newRow("HH:mm text") << 2 << QVariant(QStringLiteral("21:05")) << "21:05:00" << time;
        QTest::newRow("Varnel bytes") << 3 << QVariant(QByteArray("\x80\xA8\x73\xC1\xFF"))
                                      << QString::fromLatin1("\x80\xA8\x73\xC1\xFF")
                                      << QVariant(QByteArray("\x80\xA8\x73\xC1\xFF"));
        QTest::newRow("Latin-1 string")
            << 3 << QVariant(QString::fromLatin1("\xB1\xC0\xA4"))
            << QString::fromLatin1("\xB1\xC0\xA4") << QVariant(QByteArray("\xB1\xC0\xA4"));
        QTest::newRow("null text is empty") << 3 << QVariant() << "" << QVariant(QByteArray(""));
    }
    void writtenValuesAreStoredInTheirForms()
    {
        QFETCH(int, column);
        QFETCH(QVariant, value);
        QFETCH(QString, stored);
        QFETCH(QVariant, readBack);
        auto rs = m_db->OpenRecordset(kBySlNo);
        rs->AddNew();
        rs->Fields(0).setValue(99);
        rs->Fields(column).setValue(value);
        QCOMPARE(rs->Fields(column).Value(), readBack); // the pending buffer reads typed
        rs->Update();
        rs->MoveFirst();
        QCOMPARE(rs->Fields(column).Value(), readBack);
        const QString name = rs->Fields(column).Name();
        QCOMPARE(storedValue(QStringLiteral("SELECT %1%2 FROM reg")
                                 .arg(name, onServer() ? QStringLiteral("::text") : QString())),
                 stored);
        QCOMPARE(storedValue(onServer() ? QStringLiteral("SELECT count(*) FROM reg WHERE note IS "
                                                         "NOT NULL")
                                        : QStringLiteral("SELECT typeof(note) FROM reg")),
                 onServer() ? QStringLiteral("1") : QStringLiteral("text")); // never null
    }

    void unconvertibleValuesAreRefusedWhereAssigned_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("letters into number") << 0 << QVariant(QStringLiteral("12a"));
        QTest::newRow("empty into number") << 0 << QVariant(QString());
        QTest::newRow("date into number") << 0 << QVariant(QDate(2024, 1, 1));
        QTest::newRow("nonsense date") << 1 << QVariant(QStringLiteral("31/02/2024x"));
        QTest::newRow("invalid date") << 1 << QVariant(QDate(2024, 2, 30));
        QTest::newRow("hour 25") << 2 << QVariant(QStringLiteral("25:00"));
        QTest::newRow("Kannada Unicode into Varnel text") << 3 << QVariant(QStringLiteral("ಕ"));
    }
    void unconvertibleValuesAreRefusedWhereAssigned()
    {
        QFETCH(int, column);
        QFETCH(QVariant, value);
        auto rs = m_db->OpenRecordset(kBySlNo);
        rs->AddNew();
        rs->Fields(0).setValue(1);
        QCOMPARE(jetErrorNumber([&] { rs->Fields(column).setValue(value); }),
                 jet::errors::kTypeConversion);
        rs->CancelUpdate();
        QCOMPARE(rs->RecordCount(), 0);
    }

    void misuseIsReportedNotFatal_data()
    {
        QTest::addColumn<int>("expected");
        QTest::addColumn<std::function<void(Recordset&)>>("action");
        using Action = std::function<void(Recordset&)>;
        QTest::newRow("update without edit")
            << jet::errors::kUpdateWithoutEdit << Action([](Recordset& rs) { rs.Update(); });
        QTest::newRow("cancel without edit")
            << jet::errors::kUpdateWithoutEdit << Action([](Recordset& rs) { rs.CancelUpdate(); });
        QTest::newRow("write without edit")
            << jet::errors::kUpdateWithoutEdit
            << Action([](Recordset& rs) { rs.Fields(0).setValue(1); });
        QTest::newRow("next past the end")
            << jet::errors::kNoCurrentRecord << Action([](Recordset& rs) {
                   rs.MoveLast();
                   rs.MoveNext();
                   rs.MoveNext();
               });
        QTest::newRow("duplicate serial")
            << jet::errors::kDuplicateValue << Action([](Recordset& rs) {
                   rs.AddNew();
                   rs.Fields(0).setValue(2);
                   rs.Update();
               });
        QTest::newRow("missing serial") << jet::errors::kRequiredValue << Action([](Recordset& rs) {
            rs.AddNew();
            rs.Update();
        });
        QTest::newRow("bad criterion")
            << jet::errors::kSyntaxError << Action([](Recordset& rs) { rs.FindFirst("sl_no=="); });
    }
    void misuseIsReportedNotFatal()
    {
        QFETCH(int, expected);
        QFETCH(std::function<void(Recordset&)>, action);
        fill(3);
        auto rs = m_db->OpenRecordset(kBySlNo);
        QCOMPARE(jetErrorNumber([&] { action(*rs); }), expected);
        // The set and the file are still usable and unchanged.
        if (rs->isAdding() || rs->isEditing())
            rs->CancelUpdate();
        QCOMPARE(serials(*rs), (QList<int>{1, 2, 3}));
        QCOMPARE(stored(), (QList<int>{1, 2, 3}));
    }

    void queryErrorsCarryNumberAndText_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("expected");
        QTest::newRow("no such table") << "Select * from nowhere" << jet::errors::kTableNotFound;
        QTest::newRow("syntax") << "Select * from reg where" << jet::errors::kSyntaxError;
        QTest::newRow("unterminated quote")
            << "Select * from reg where note like 'it's*'" << jet::errors::kSyntaxError;
        QTest::newRow("action query") << "DELETE FROM reg" << jet::errors::kInvalidOperation;
        QTest::newRow("bad date text")
            << "Select * from reg where day >= datevalue('soon')" << jet::errors::kTypeMismatch;
    }
    void queryErrorsCarryNumberAndText()
    {
        QFETCH(QString, sql);
        QFETCH(int, expected);
        fill(3);
        try {
            m_db->OpenRecordset(sql);
            QFAIL("no error");
        } catch (const JetError& error) {
            QCOMPARE(error.number(), expected);
            QVERIFY2(!error.text().isEmpty(), error.what());
        }
        QCOMPARE(stored(), (QList<int>{1, 2, 3}));
    }

    void readOnlySetsRefuseWrites()
    {
        fill(2);
        auto rs = m_db->OpenRecordset(QStringLiteral("Select sl_no from reg"));
        QVERIFY(!rs->isUpdatable());
        QCOMPARE(rs->RecordCount(), 2);
        QCOMPARE(jetErrorNumber([&] { rs->AddNew(); }), jet::errors::kNotUpdatable);
        auto snapshot = m_db->OpenRecordset(kBySlNo, jet::RecordsetType::Snapshot);
        QCOMPARE(jetErrorNumber([&] { snapshot->Delete(); }), jet::errors::kNotUpdatable);
        auto table = m_db->OpenRecordset(QStringLiteral("reg"), jet::RecordsetType::Table);
        QVERIFY(table->isUpdatable());
        QCOMPARE(table->RecordCount(), 2);
    }

    // A pending record marks its written columns in 64 bits: a wider table is only read.
    void tableTooWideToWriteIsRead()
    {
        QStringList columns;
        for (int i = 0; i < 70; ++i) {
            columns << QStringLiteral("c%1 INTEGER").arg(i);
        }
        if (onServer())
            columns << QStringLiteral("row_id bigint GENERATED ALWAYS AS IDENTITY");
        m_db->Execute(QStringLiteral("CREATE TABLE wide (%1)").arg(columns.join(',')));
        m_db->Execute(QStringLiteral("INSERT INTO wide (c0, c69) VALUES (7, 690)"));
        auto rs = m_db->OpenRecordset(QStringLiteral("Select * from wide order by c0"));
        QVERIFY(!rs->isUpdatable());
        QCOMPARE(rs->RecordCount(), 1);
        QCOMPARE(rs->FieldCount(), 70);
        QCOMPARE(rs->Fields(69).Value().toInt(), 690);
        QCOMPARE(jetErrorNumber([&] { rs->Edit(); }), jet::errors::kNotUpdatable);
    }
};

QTEST_GUILESS_MAIN(TestRecordset)
#include "tst_recordset.moc"
