// How the documented statement texts are handed to a diary server (no server needed).
#include <QtTest>

#include "platform/jet/JetError.h"
#include "platform/jet/ServerStatement.h"

class TestServerStatement : public QObject {
    Q_OBJECT

private slots:
    void statementsAsTheServerRunsThem_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QStringList>("likeColumns");
        QTest::newRow("dates in the desk's form")
            << "Select * from local where tarna_date>= datevalue('2027-03-10') and "
               "tarna_time<=timevalue( '9:30' ) order by tarna_date"
            << "Select * from local where tarna_date>= datevalue('2027-03-10') and "
               "tarna_time<=timevalue('09:30:00') order by tarna_date, row_id"
            << QStringList();
        QTest::newRow("like terms taken out, the rest kept")
            << "Select * from tour where travel_from like'ab*' and travel_to like 'c''d*' and "
               "(travel_date_from>= datevalue('2027-01-01') or travel_date_to>=datevalue("
               "'2027-01-01'))  order by travel_date_from, travel_date_to"
            << "Select * from tour WHERE (travel_date_from>= datevalue('2027-01-01') or "
               "travel_date_to>=datevalue('2027-01-01')) order by travel_date_from, "
               "travel_date_to, row_id"
            << QStringList{"travel_from", "travel_to"};
        QTest::newRow("only like terms")
            << "Select * from tour where travel_from like 'x*' order by travel_date_from"
            << "Select * from tour order by travel_date_from, row_id" << QStringList{"travel_from"};
        QTest::newRow("like inside a literal is text")
            << "Select * from tour where others = 'like this'"
            << "Select * from tour where others = 'like this'" << QStringList();
        QTest::newRow("a subquery gets its name and its ties")
            << "INSERT INTO temp_local SELECT sl_no FROM (Select * from local order by "
               "tarna_date)"
            << "INSERT INTO temp_local SELECT sl_no FROM (Select * from local order by "
               "tarna_date, row_id) AS velmora_rows"
            << QStringList();
    }
    void statementsAsTheServerRunsThem()
    {
        QFETCH(QString, sql);
        QFETCH(QString, expected);
        QFETCH(QStringList, likeColumns);
        const jet::ServerStatement statement =
            jet::serverStatement(sql, true, [](const QString& table) { return table != "x"; });
        QCOMPARE(statement.sql, expected);
        QStringList columns;
        for (const jet::LikeTerm& like : statement.likes)
            columns << like.column;
        QCOMPARE(columns, likeColumns);
    }

    void likeTermsMatchAsTheFileDoes()
    {
        const jet::ServerStatement statement = jet::serverStatement(
            QString::fromLatin1("Select * from tour where travel_from like '\xB8*'"), true);
        QCOMPARE(statement.likes.size(), size_t(1));
        const jet::LikePattern& pattern = statement.likes[0].pattern;
        QVERIFY(
            pattern.matches(jet::comparableStoredText(QString::fromLatin1("\xB8\xC0").toUtf8())));
        QVERIFY(!pattern.matches(jet::comparableStoredText(QByteArray("ab"))));
    }

    void whatTheServerCannotHonourIsRefused_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<bool>("takeLikes");
        QTest::addColumn<int>("expected");
        QTest::newRow("like under or")
            << "Select * from tour where (travel_from like 'a*' or travel_to like 'b*')" << true
            << jet::errors::kInvalidOperation;
        QTest::newRow("like in an action") << "DELETE FROM tour WHERE travel_from like 'a*'"
                                           << false << jet::errors::kInvalidOperation;
        QTest::newRow("unreadable date")
            << "Select * from local where tarna_date >= datevalue('soon')" << true
            << jet::errors::kTypeMismatch;
        QTest::newRow("open literal")
            << "Select * from local where topic = 'it's'" << true << jet::errors::kSyntaxError;
    }
    void whatTheServerCannotHonourIsRefused()
    {
        QFETCH(QString, sql);
        QFETCH(bool, takeLikes);
        QFETCH(int, expected);
        int number = 0;
        try {
            jet::serverStatement(sql, takeLikes);
        } catch (const jet::JetError& error) {
            number = error.number();
        }
        QCOMPARE(number, expected);
    }
};

QTEST_GUILESS_MAIN(TestServerStatement)
#include "tst_server_statement.moc"
