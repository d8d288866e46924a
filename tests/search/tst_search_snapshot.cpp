// A search's list is the register as it stood when the search ran. What another connection
// commits afterwards (a deletion with its renumbering, a change, an addition) waits for the
// list's next read: until then no serial number is doubled or missing, no row is empty and the
// order holds; refreshIfChanged then shows the diary as it is. On the file and on a server.
#include <memory>

#include <QtTest>

#include "SearchDiary.h"
#include "TestServer.h"
#include "platform/jet/Database.h"
#include "platform/jet/SqlLiteral.h"
#include "platform/jet/Transaction.h"
#include "platform/varnel/VarnelCodec.h"
#include "search/SearchQueries.h"
#include "search/SearchSession.h"

namespace {

QByteArray topic(int n)
{
    return varnel::encode(QStringLiteral("ವಿಷಯ %1").arg(n)).bytes;
}

// Each row as "serial:topic number".
QStringList rowsOf(const QList<data::Record>& records)
{
    QStringList rows;
    for (const data::Record& record : records) {
        int n = 1;
        while (n < 9 && record.value(4).toByteArray() != topic(n))
            ++n;
        rows << QStringLiteral("%1:%2").arg(record.serial()).arg(n);
    }
    return rows;
}

} // namespace

class TestSearchSnapshot : public QObject {
    Q_OBJECT

private slots:
    void aListKeepsItsMomentUntilItReadsAgain_data()
    {
        QTest::addColumn<bool>("server");
        QTest::addColumn<QStringList>("change"); // one transaction of another connection
        QTest::addColumn<QString>("after");
        const QString added =
            QStringLiteral("INSERT INTO local (sl_no, tarna_date, tarna_time, topic) VALUES "
                           "(7, '2027-02-28', '10:00:00', %1)")
                .arg(jet::SqlLiteral(varnel::toStoredText(topic(7))));
        for (const bool server : {false, true}) {
            const char* where = server ? "server" : "file";
            QTest::addRow("%s: a deletion renumbers the rest", where)
                << server
                << QStringList{QStringLiteral("DELETE FROM local WHERE sl_no = 3"),
                               QStringLiteral("UPDATE local SET sl_no = sl_no - 1 WHERE sl_no > 3")}
                << "1:1 2:2 3:4 4:5 5:6";
            QTest::addRow("%s: the last record is deleted", where)
                << server << QStringList{QStringLiteral("DELETE FROM local WHERE sl_no = 6")}
                << "1:1 2:2 3:3 4:4 5:5";
            QTest::addRow("%s: a change moves a record to the end", where)
                << server
                << QStringList{QStringLiteral(
                       "UPDATE local SET tarna_date = '2027-03-10' WHERE sl_no = 2")}
                << "1:1 3:3 4:4 5:5 6:6 2:2";
            QTest::addRow("%s: a record is added before the rest", where)
                << server << QStringList{added} << "7:7 1:1 2:2 3:3 4:4 5:5 6:6";
        }
    }
    void aListKeepsItsMomentUntilItReadsAgain()
    {
        QFETCH(bool, server);
        QFETCH(QStringList, change);
        QFETCH(QString, after);
        std::unique_ptr<SearchDiary> diary;
        if (server) {
            VELMORA_REQUIRE_TEST_SERVER();
            static int rows = 0; // a database of its own for each row
            diary = std::make_unique<SearchDiary>(
                freshServerDatabase(QStringLiteral("velmora_search_snapshot_%1").arg(++rows)));
        } else {
            diary = std::make_unique<SearchDiary>();
        }
        for (int n = 1; n <= 6; ++n)
            diary->addProgramme(QStringLiteral("local"), n, QDate(2027, 3, n), QTime(10, 0),
                                varnel::decode(topic(n)));
        search::SearchSession session(data::Register::Local);
        session.OpenDatabase(diary->diaryPath());
        QCOMPARE(session.database()->isServer(), server);
        session.run(search::programmeOpeningQuery(QStringLiteral("local")));
        const QString before = QStringLiteral("1:1 2:2 3:3 4:4 5:5 6:6");
        QCOMPARE(rowsOf(session.RsResult()).join(u' '), before);

        const std::int64_t seen = session.database()->DataVersion();
        jet::Transaction transaction(diary->db()); // another window's connection, or desk's
        for (const QString& sql : change)
            diary->db().Execute(sql);
        transaction.commit();
        // Once the list's connection knows of it (a server's notice comes a moment after the
        // commit), the list is still the one the search read; another read shows the diary now.
        QTRY_VERIFY_WITH_TIMEOUT(session.database()->DataVersion() != seen, 10000);
        QCOMPARE(rowsOf(session.RsResult()).join(u' '), before);
        QCOMPARE(session.model().rowCount(), 6);
        QVERIFY(session.refreshIfChanged());
        QCOMPARE(rowsOf(session.RsResult()).join(u' '), after);
        QCOMPARE(session.model().rowCount(), int(after.count(u' ') + 1));
    }
};

QTEST_GUILESS_MAIN(TestSearchSnapshot)
#include "tst_search_snapshot.moc"
