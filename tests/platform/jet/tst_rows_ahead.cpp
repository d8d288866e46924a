// Reading a statement's rows a batch ahead on a second thread: the caller gets exactly what
// ReadRows gives, can stop at any row, and every failure on either side reaches it.
#include <stdexcept>

#include <QTemporaryDir>
#include <QtTest>

#include "platform/jet/Database.h"
#include "platform/jet/JetError.h"
#include "platform/jet/RowsAhead.h"

class TestRowsAhead : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::shared_ptr<jet::Database> m_db;

    QList<QVariantList> read(const QString& sql, int stopAfter, bool ahead)
    {
        QList<QVariantList> rows;
        const jet::Database::RowReader keep = [&](const std::vector<QVariant>& values) {
            rows << QVariantList(values.begin(), values.end());
            return rows.size() != stopAfter;
        };
        if (ahead)
            jet::readRowsAhead(*m_db, sql, keep);
        else
            m_db->ReadRows(sql, keep);
        return rows;
    }

private slots:
    void initTestCase()
    {
        m_db = jet::Database::CreateDatabase(m_dir.filePath(QStringLiteral("rows.mdb")));
        m_db->Execute(QStringLiteral("Create table n (i INTEGER, t TEXT, d DATE)"));
        m_db->BeginTrans();
        for (int i = 1; i <= 1000; ++i)
            m_db->Execute(QStringLiteral("Insert into n values (%1, 'row %1', '2026-12-%2')")
                              .arg(i)
                              .arg(1 + i % 28, 2, 10, QLatin1Char('0')));
        m_db->CommitTrans();
    }

    // Batch edges: none, one, a batch less one, a batch, a batch and one, many batches.
    void sameRowsAsReadRows_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("stopAfter"); // 0: read to the end
        for (int count : {0, 1, 255, 256, 257, 1000})
            QTest::addRow("%d rows", count) << count << 0;
        QTest::addRow("stop at the first") << 1000 << 1;
        QTest::addRow("stop at a batch's end") << 1000 << 256;
        QTest::addRow("stop past several batches") << 1000 << 700;
    }
    void sameRowsAsReadRows()
    {
        QFETCH(int, count);
        QFETCH(int, stopAfter);
        const QString sql = QStringLiteral("Select * from n where i <= %1 order by i").arg(count);
        const QList<QVariantList> expected = read(sql, stopAfter, false);
        QCOMPARE(expected.size(), stopAfter ? stopAfter : count);
        QCOMPARE(read(sql, stopAfter, true), expected);
    }

    // A statement the engine refuses, and a caller failing halfway: the failure comes out of
    // readRowsAhead, the reading thread has ended, and the connection reads again.
    void failuresReachTheCaller()
    {
        QVERIFY_THROWS_EXCEPTION(jet::JetError,
                                 read(QStringLiteral("Select * from missing"), 0, true));
        int seen = 0;
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 jet::readRowsAhead(*m_db, QStringLiteral("Select * from n"),
                                                    [&](const std::vector<QVariant>&) -> bool {
                                                        if (++seen == 300)
                                                            throw std::runtime_error("disk full");
                                                        return true;
                                                    }));
        QCOMPARE(seen, 300);
        QCOMPARE(read(QStringLiteral("Select i from n"), 0, true).size(), 1000);
    }

    // While the rows are read the connection is the reading thread's: the caller's use of it
    // (a second read-ahead among them) is refused, and it is free again after.
    void theConnectionIsTheReadersMeanwhile()
    {
        int refused = 0;
        const auto refusedHere = [&](const std::function<void()>& use) {
            try {
                use();
            } catch (const jet::JetError&) {
                ++refused;
            }
        };
        jet::readRowsAhead(*m_db, QStringLiteral("Select i from n where i <= 2"),
                           [&](const std::vector<QVariant>&) {
                               refusedHere([&] { jet::requireNotReadAhead(*m_db); });
                               refusedHere([&] { read(QStringLiteral("Select 1"), 0, true); });
                               return true;
                           });
        QCOMPARE(refused, 4);
        jet::requireNotReadAhead(*m_db);
    }
};

QTEST_GUILESS_MAIN(TestRowsAhead)
#include "tst_rows_ahead.moc"
