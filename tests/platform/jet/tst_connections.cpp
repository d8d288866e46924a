// Several connections on one file, transactions, and failures halfway through a group of
// writes: a deletion with its renumbering, or the emptying and refilling of a staging table.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "RecordsetHelpers.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetError.h"
#include "platform/jet/Recordset.h"
#include "platform/jet/Transaction.h"

using jet::Database;
using jet::JetError;
using jet::Recordset;

namespace {

const QString kBySlNo = QStringLiteral("Select * from reg order by sl_no");

// The editor's deletion: delete the first row, then number the rest 1..N-1 in order.
void deleteFirstAndRenumber(Recordset& rs)
{
    rs.MoveFirst();
    rs.Delete();
    renumberFromOne(rs);
}

// The report's staging: empty the table, then add `rows` rows numbered from 1.
void refillStaging(Recordset& rs, int rows)
{
    if (rs.RecordCount() > 0) {
        rs.MoveFirst();
        while (!rs.Eof()) {
            rs.Delete();
            rs.MoveNext();
        }
    }
    for (int i = 1; i <= rows; ++i) {
        rs.AddNew();
        rs.Fields(0).setValue(i);
        rs.Fields(1).setValue(QByteArray("new"));
        rs.Update();
    }
}

} // namespace

class TestConnections : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;
    int m_case = 0;
    std::shared_ptr<Database> m_db;

private slots:
    void init()
    {
        m_path = m_dir.filePath(QStringLiteral("case-%1.db").arg(++m_case));
        m_db = Database::CreateDatabase(m_path);
        for (const char* statement :
             {"CREATE TABLE reg (sl_no INTEGER NOT NULL UNIQUE, note TEXT NOT NULL DEFAULT '')",
              "CREATE TABLE stage (sl_no INTEGER, note TEXT NOT NULL DEFAULT '')",
              "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200)"
              " INSERT INTO reg SELECT i, 'row ' || i FROM n",
              "INSERT INTO stage SELECT sl_no, 'old' FROM reg WHERE sl_no <= 20"})
            m_db->Execute(QString::fromLatin1(statement));
    }
    void cleanup() { m_db.reset(); }

    void fileIsSharedThroughWalWithFullSync()
    {
        auto other = Database::OpenDatabase(m_path);
        QCOMPARE(storedText(*other, QStringLiteral("PRAGMA journal_mode")), QStringLiteral("wal"));
        QCOMPARE(storedText(*other, QStringLiteral("PRAGMA synchronous")), QStringLiteral("2"));
        QVERIFY(storedText(*other, QStringLiteral("PRAGMA busy_timeout")).toInt() >= 1000);
    }

    void aSetSeesWhatOthersSavedBeforeItOpened()
    {
        auto window1 = Database::OpenDatabase(m_path);
        auto window2 = Database::OpenDatabase(m_path);
        auto early = window2->OpenRecordset(kBySlNo);
        auto editor = window1->OpenRecordset(kBySlNo);
        editor->AddNew();
        editor->Fields(0).setValue(201);
        editor->Update();
        editor->FindFirst(QStringLiteral("sl_no=5"));
        editor->Edit();
        editor->Fields(1).setValue(QByteArray("changed"));
        editor->Update();

        auto late = window2->OpenRecordset(kBySlNo);
        QCOMPARE(late->RecordCount(), 201);
        late->MoveLast();
        QCOMPARE(late->Fields(0).Value().toInt(), 201);
        // A set opened earlier keeps its rows but reads each row as it is now.
        QCOMPARE(early->RecordCount(), 200);
        early->FindFirst(QStringLiteral("sl_no=5"));
        QCOMPARE(early->Fields(1).Value().toByteArray(), QByteArray("changed"));
    }

    void uncommittedWritesStayPrivate()
    {
        auto reader = Database::OpenDatabase(m_path);
        m_db->BeginTrans();
        m_db->Execute(QStringLiteral("DELETE FROM reg WHERE sl_no > 100"));
        QCOMPARE(reader->OpenRecordset(kBySlNo)->RecordCount(), 200); // readers are not blocked
        m_db->CommitTrans();
        QCOMPARE(reader->OpenRecordset(kBySlNo)->RecordCount(), 100);
    }

    void rowsDeletedElsewhereAreReportedNotCrashed()
    {
        auto rs = m_db->OpenRecordset(kBySlNo);
        auto other = Database::OpenDatabase(m_path);
        other->Execute(QStringLiteral("DELETE FROM reg WHERE sl_no = 3"));
        rs->FindFirst(QStringLiteral("sl_no=2"));
        rs->MoveNext();
        try {
            rs->Fields(0).Value();
            QFAIL("a vanished row read as if present");
        } catch (const JetError& error) {
            QCOMPARE(error.number(), jet::errors::kRecordDeleted);
        }
        rs->MoveNext();
        QCOMPARE(rs->Fields(0).Value().toInt(), 4);
    }

    void transactions_data()
    {
        QTest::addColumn<bool>("innerCommits");
        QTest::addColumn<bool>("outerCommits");
        QTest::addColumn<int>("expectedRows");
        QTest::newRow("both commit") << true << true << 198;
        QTest::newRow("inner rolled back") << false << true << 199;
        QTest::newRow("outer rolled back") << true << false << 200;
    }
    void transactions()
    {
        QFETCH(bool, innerCommits);
        QFETCH(bool, outerCommits);
        QFETCH(int, expectedRows);
        auto rs = m_db->OpenRecordset(kBySlNo);
        m_db->BeginTrans();
        rs->MoveLast();
        rs->Delete();
        m_db->BeginTrans();
        QCOMPARE(m_db->transactionDepth(), 2);
        rs->MoveLast();
        rs->Delete();
        innerCommits ? m_db->CommitTrans() : m_db->Rollback();
        outerCommits ? m_db->CommitTrans() : m_db->Rollback();
        QCOMPARE(m_db->transactionDepth(), 0);
        QCOMPARE(storedSerials(m_path, QStringLiteral("reg")).size(), expectedRows);
        // The set follows the file after a rollback.
        QCOMPARE(rs->RecordCount(), expectedRows);
        QCOMPARE(serials(*rs), serialRange(1, expectedRows));
    }

    void transactionCallsOutOfTurnAreErrors()
    {
        for (const auto& call : {std::function<void()>([&] { m_db->CommitTrans(); }),
                                 std::function<void()>([&] { m_db->Rollback(); })}) {
            try {
                call();
                QFAIL("no error");
            } catch (const JetError& error) {
                QCOMPARE(error.number(), jet::errors::kNoTransaction);
            }
        }
    }

    // A connection made to fail on its Nth write: the group is undone as a whole.
    void failureHalfwayLeavesTheTableAsBefore_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("trigger");
        QTest::newRow("renumbering, 50th update")
            << "reg"
            << "CREATE TEMP TRIGGER fail BEFORE UPDATE ON reg WHEN NEW.sl_no = 50"
               " BEGIN SELECT RAISE(ABORT, 'disk gave up'); END";
        QTest::newRow("renumbering, last update")
            << "reg"
            << "CREATE TEMP TRIGGER fail BEFORE UPDATE ON reg WHEN NEW.sl_no = 199"
               " BEGIN SELECT RAISE(ABORT, 'disk gave up'); END";
        QTest::newRow("staging, 5th insert")
            << "stage"
            << "CREATE TEMP TRIGGER fail BEFORE INSERT ON stage WHEN NEW.sl_no = 5"
               " BEGIN SELECT RAISE(ABORT, 'disk gave up'); END";
    }
    void failureHalfwayLeavesTheTableAsBefore()
    {
        QFETCH(QString, table);
        QFETCH(QString, trigger);
        const QList<int> before = storedSerials(m_path, table);
        m_db->Execute(trigger);
        auto rs = m_db->OpenRecordset(QStringLiteral("Select * from %1 order by sl_no").arg(table));
        try {
            jet::Transaction transaction(*m_db);
            if (table == QLatin1String("reg"))
                deleteFirstAndRenumber(*rs);
            else
                refillStaging(*rs, 30);
            transaction.commit();
            QFAIL("the injected failure did not happen");
        } catch (const JetError& error) {
            QVERIFY2(error.text().contains(QLatin1String("disk gave up")), error.what());
        }
        QCOMPARE(m_db->transactionDepth(), 0);
        QCOMPARE(storedSerials(m_path, table), before);
        QCOMPARE(serials(*rs), before);
        // And the same work succeeds once the fault is gone.
        m_db->Execute(QStringLiteral("DROP TRIGGER temp.fail"));
        jet::Transaction transaction(*m_db);
        table == QLatin1String("reg") ? deleteFirstAndRenumber(*rs) : refillStaging(*rs, 30);
        transaction.commit();
        QCOMPARE(storedSerials(m_path, table),
                 table == QLatin1String("reg") ? serialRange(1, 199) : serialRange(1, 30));
    }

    // A process killed in the middle of a renumbering leaves the register as it was.
    void killedMidRenumberingLeavesTheTableAsBefore_data()
    {
        QTest::addColumn<bool>("kill");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("killed halfway") << true << serialRange(1, 200);
        QTest::newRow("left to finish") << false << serialRange(1, 199);
    }
    void killedMidRenumberingLeavesTheTableAsBefore()
    {
        QFETCH(bool, kill);
        QFETCH(QList<int>, expected);
        m_db.reset();
        QProcess child;
        child.start(QStringLiteral(JET_RENUMBER_CHILD),
                    {m_path, QStringLiteral("100"), kill ? QStringLiteral("wait") : QString()});
        QVERIFY(child.waitForStarted());
        QVERIFY(child.waitForReadyRead(30000));
        QCOMPARE(child.readLine().trimmed(), QByteArray("halfway"));
        if (kill)
            child.kill();
        QVERIFY(child.waitForFinished(30000));
        const QList<int> stored = storedSerials(m_path, QStringLiteral("reg"));
        QCOMPARE(stored, expected);
        auto db = Database::OpenDatabase(m_path);
        auto rs = db->OpenRecordset(kBySlNo);
        rs->MoveFirst();
        QCOMPARE(rs->Fields(1).Value().toByteArray(), QByteArray(kill ? "row 1" : "row 2"));
    }
};

QTEST_GUILESS_MAIN(TestConnections)
#include "tst_connections.moc"
