#include <algorithm>
#include <cstdint>
#include <memory>
#include <numeric>

#include <QtTest>

#include "SearchDiary.h"
#include "TestServer.h"
#include "platform/jet/Database.h"
#include "platform/jet/SqlLiteral.h"
#include "platform/jet/Transaction.h"
#include "platform/varnel/VarnelCodec.h"
#include "search/SearchQueries.h"
#include "search/SearchSession.h"

// A search's list is the register as it stood when the search ran. What another connection
// commits afterwards (a deletion with its renumbering, a change, an addition) waits for the
// list's next read: until then no serial number is doubled or missing, no row is empty and
// the order holds; refreshIfChanged then shows the diary as it is. On the file and on a server.
class TestSearchSnapshot : public QObject {
    Q_OBJECT

private slots:
    void aListKeepsItsMomentUntilItReadsAgain_data();
    void aListKeepsItsMomentUntilItReadsAgain();
};

namespace {

constexpr int kRecords = 6;

// Record n is "ವಿಷಯ n" on 1 March 2027 + n - 1, so the list's order is the serials' order.
QString topicText(int n)
{
    return QStringLiteral("ವಿಷಯ %1").arg(n);
}

QByteArray topicBytes(int n)
{
    return varnel::encode(topicText(n)).bytes;
}

// Which record each row shows, by the number in its topic.
QList<int> topicsOf(const QList<search::SearchRecord>& records)
{
    QList<int> topics;
    for (const search::SearchRecord& record : records) {
        int n = 0;
        while (n <= kRecords + 1 && record.value(4).toByteArray() != topicBytes(n))
            ++n;
        topics << n;
    }
    return topics;
}

QList<int> serialsOf(const QList<search::SearchRecord>& records)
{
    QList<int> serials;
    for (const search::SearchRecord& record : records)
        serials << record.value(0).toInt();
    return serials;
}

QList<int> oneTo(int n)
{
    QList<int> numbers(n);
    std::iota(numbers.begin(), numbers.end(), 1);
    return numbers;
}

} // namespace

void TestSearchSnapshot::aListKeepsItsMomentUntilItReadsAgain_data()
{
    QTest::addColumn<bool>("server");
    QTest::addColumn<QStringList>("change"); // committed in one transaction by another connection
    QTest::addColumn<QList<int>>("topicsAfter");
    QTest::addColumn<QList<int>>("serialsAfter");

    const QString added = QStringLiteral("INSERT INTO local (sl_no, tarna_date, tarna_time, topic) "
                                         "VALUES (7, '2027-02-28', '10:00:00', %1)")
                              .arg(jet::SqlLiteral(varnel::toStoredText(topicBytes(7))));
    for (const bool server : {false, true}) {
        const char* where = server ? "server" : "file";
        QTest::addRow("%s: a deletion renumbers the rest", where)
            << server
            << QStringList{QStringLiteral("DELETE FROM local WHERE sl_no = 3"),
                           QStringLiteral("UPDATE local SET sl_no = sl_no - 1 WHERE sl_no > 3")}
            << QList<int>{1, 2, 4, 5, 6} << oneTo(5);
        QTest::addRow("%s: the last record is deleted", where)
            << server << QStringList{QStringLiteral("DELETE FROM local WHERE sl_no = 6")}
            << oneTo(5) << oneTo(5);
        QTest::addRow("%s: a change moves a record to the end", where)
            << server
            << QStringList{QStringLiteral(
                   "UPDATE local SET tarna_date = '2027-03-10' WHERE sl_no = 2")}
            << QList<int>{1, 3, 4, 5, 6, 2} << QList<int>{1, 3, 4, 5, 6, 2};
        QTest::addRow("%s: a record is added before the rest", where)
            << server << QStringList{added} << QList<int>{7, 1, 2, 3, 4, 5, 6}
            << QList<int>{7, 1, 2, 3, 4, 5, 6};
    }
}

void TestSearchSnapshot::aListKeepsItsMomentUntilItReadsAgain()
{
    QFETCH(bool, server);
    QFETCH(QStringList, change);
    QFETCH(QList<int>, topicsAfter);
    QFETCH(QList<int>, serialsAfter);

    std::unique_ptr<SearchDiary> made;
    if (server) {
        VELMORA_REQUIRE_TEST_SERVER();
        // A database of its own for each row: the program's connection to the last one stays
        // with the engine.
        static int rows = 0;
        made = std::make_unique<SearchDiary>(
            freshServerDatabase(QStringLiteral("velmora_search_snapshot_%1").arg(++rows)));
    } else {
        made = std::make_unique<SearchDiary>();
    }
    SearchDiary& diary = *made;
    for (int n = 1; n <= kRecords; ++n)
        diary.addProgramme(QStringLiteral("local"), n, QDate(2027, 3, n), QTime(10, 0),
                           topicText(n));

    search::SearchSession session(search::SearchRegister::Local);
    session.OpenDatabase(diary.diaryPath());
    QCOMPARE(session.database()->isServer(), server);
    const QString statement = search::programmeOpeningQuery(QStringLiteral("local"));
    session.run(statement);
    QCOMPARE(session.model().rowCount(), kRecords);

    const std::int64_t seen = session.database()->DataVersion();
    {
        jet::Database& other = diary.db(); // another window's connection, or another desk's
        jet::Transaction transaction(other);
        for (const QString& sql : change)
            other.Execute(sql);
        transaction.commit();
    }

    // Once the list's connection knows of the change (a server's notice comes a moment after
    // the commit), the list is still the one the search read, every row whole and in its
    // place, whatever a view asks for first.
    QTRY_VERIFY_WITH_TIMEOUT(session.database()->DataVersion() != seen, 10000);
    const search::SearchResultsModel& list = session.model();
    QCOMPARE(list.rowCount(), kRecords);
    for (int row = kRecords - 1; row >= 0; --row) {
        QCOMPARE(list.index(row, 0).data().toString(), search::gridPositionText(row + 1));
        QCOMPARE(list.index(row, 1).data().toString(),
                 search::gridCellText(search::CellKind::Date, QDate(2027, 3, row + 1)));
        QCOMPARE(list.index(row, 4).data().toString(), varnel::decode(topicBytes(row + 1)));
    }
    QCOMPARE(serialsOf(session.model().records()), oneTo(kRecords));
    QCOMPARE(topicsOf(session.model().records()), oneTo(kRecords));
    QCOMPARE(session.statement(), statement);

    // Another read shows the diary as it is now, numbered 1 to N again.
    QVERIFY(session.refreshIfChanged());
    QCOMPARE(topicsOf(session.model().records()), topicsAfter);
    QCOMPARE(serialsOf(session.model().records()), serialsAfter);
    QList<int> serials = serialsAfter;
    std::sort(serials.begin(), serials.end());
    QCOMPARE(serials, oneTo(int(serialsAfter.size())));
    QCOMPARE(list.rowCount(), int(topicsAfter.size()));
    QVERIFY(!session.refreshIfChanged());
}

QTEST_GUILESS_MAIN(TestSearchSnapshot)
#include "tst_search_snapshot.moc"
