#include <QtTest>

#include "StagingFixture.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetError.h"
#include "reports/ReportRegister.h"
#include "reports/Stager.h"

using reports::ReportRegister;

Q_DECLARE_METATYPE(const ReportRegister*)

// The range queries as the windows write them, and the rows the stager leaves in the staging
// tables for the templates to read.
class TestStager : public QObject {
    Q_OBJECT

private slots:
    void rangeQueryText_data();
    void rangeQueryText();
    void programmeRows_data();
    void programmeRows();
    void tourRows_data();
    void tourRows();
    void secondRunReplacesTheFirst();
    void failureKeepsThePreviousRows();
};

void TestStager::rangeQueryText_data()
{
    QTest::addColumn<const ReportRegister*>("reg");
    QTest::addColumn<QString>("expected");
    QTest::newRow("local")
        << &ReportRegister::local()
        << "Select * from local where tarna_date>= datevalue('2027-03-01') and "
           "tarna_date<=datevalue('2027-03-05') order by tarna_date, tarna_time, "
           "sl_no";
    QTest::newRow("outstation")
        << &ReportRegister::outstation()
        << "Select * from outstation where tarna_date>= datevalue('2027-03-01') and "
           "tarna_date<=datevalue('2027-03-05') order by tarna_date, tarna_time, sl_no";
    QTest::newRow("tour")
        << &ReportRegister::tour()
        << "Select * from tour where ( travel_date_from>= "
           "datevalue('2027-03-01') and travel_date_from<=datevalue('2027-03-05') "
           ") or ( travel_date_to>=datevalue('2027-03-01') and "
           "travel_date_to<=datevalue('2027-03-05') ) order by travel_date_from, "
           "travel_date_to, travel_time_from, travel_time_to, sl_no";
}

void TestStager::rangeQueryText()
{
    QFETCH(const ReportRegister*, reg);
    QFETCH(QString, expected);
    QCOMPARE(reg->rangeQuery(QDate(2027, 3, 1), QDate(2027, 3, 5)), expected);
}

void TestStager::programmeRows_data()
{
    QTest::addColumn<const ReportRegister*>("reg");
    QTest::addColumn<QDate>("first");
    QTest::addColumn<QDate>("last");
    QTest::addColumn<QStringList>("expected");
    // A diary of an earlier version, without the date index, with two more programmes on
    // 2027-03-03 at 08:00, typed after the one at 09:05, the later serial number first.
    QTest::addColumn<bool>("sameDayTyped");
    const auto row = [](int sl, const char* date, const char* time, const char* range) {
        return QStringLiteral("%1|%2|day|%3|topic %1|venue|address|phone|contact|others|%4")
            .arg(sl)
            .arg(QLatin1String(date), QLatin1String(time), QLatin1String(range));
    };
    const char* week = "2027-03-01|2027-03-07";
    // Serial numbers are kept; seconds are dropped; rows come in date order.
    QTest::newRow("local week") << &ReportRegister::local() << QDate(2027, 3, 1)
                                << QDate(2027, 3, 7)
                                << QStringList{row(7, "2027-03-01", "14:30", week),
                                               row(4, "2027-03-03", "09:05", week),
                                               row(2, "2027-03-07", "18:45", week)}
                                << false;
    QTest::newRow("outstation week")
        << &ReportRegister::outstation() << QDate(2027, 3, 1) << QDate(2027, 3, 7)
        << QStringList{row(3, "2027-03-02", "07:00", week)} << false;
    QTest::newRow("one day") << &ReportRegister::local() << QDate(2027, 3, 3) << QDate(2027, 3, 3)
                             << QStringList{row(4, "2027-03-03", "09:05", "2027-03-03|2027-03-03")}
                             << false;
    QTest::newRow("nothing") << &ReportRegister::local() << QDate(2027, 3, 4) << QDate(2027, 3, 6)
                             << QStringList{} << false;
    // One day comes in time order, then by serial number, whatever the typing order.
    const char* day = "2027-03-03|2027-03-03";
    QTest::newRow("one day, typed out of time order")
        << &ReportRegister::local() << QDate(2027, 3, 3) << QDate(2027, 3, 3)
        << QStringList{row(5, "2027-03-03", "08:00", day), row(6, "2027-03-03", "08:00", day),
                       row(4, "2027-03-03", "09:05", day)}
        << true;
}

void TestStager::programmeRows()
{
    QFETCH(const ReportRegister*, reg);
    QFETCH(QDate, first);
    QFETCH(QDate, last);
    QFETCH(QStringList, expected);
    QFETCH(bool, sameDayTyped);
    StagingFixture f;
    f.addProgramme("local", 1, "2027-02-28", "10:00:00");
    f.addProgramme("local", 2, "2027-03-07", "18:45:00");
    f.addProgramme("local", 4, "2027-03-03", "09:05:59");
    f.addProgramme("local", 7, "2027-03-01", "14:30:10");
    f.addProgramme("local", 9, "2027-03-08", "08:00:00");
    f.addProgramme("outstation", 3, "2027-03-02", "07:00:00");
    if (sameDayTyped) {
        f.db->Execute(QStringLiteral("DROP INDEX local_by_date"));
        f.addProgramme("local", 6, "2027-03-03", "08:00:00");
        f.addProgramme("local", 5, "2027-03-03", "08:00:00");
    }
    QCOMPARE(reports::stageRange(*f.db, *reg, first, last), expected.size());
    QCOMPARE(f.rows(reg->stagingTable), expected);
}

void TestStager::tourRows_data()
{
    QTest::addColumn<QDate>("first");
    QTest::addColumn<QDate>("last");
    QTest::addColumn<QList<int>>("staged");
    // 1 departs on the last day; 2 arrives on the first day; 3 covers the whole range;
    // 4 lies inside it; 5 lies after it.
    QTest::newRow("week") << QDate(2027, 3, 1) << QDate(2027, 3, 7) << QList<int>{2, 4, 1};
    QTest::newRow("one day inside") << QDate(2027, 3, 4) << QDate(2027, 3, 4) << QList<int>{4};
    QTest::newRow("nothing") << QDate(2027, 3, 5) << QDate(2027, 3, 6) << QList<int>{};
}

void TestStager::tourRows()
{
    QFETCH(QDate, first);
    QFETCH(QDate, last);
    QFETCH(QList<int>, staged);
    StagingFixture f;
    f.addTour(1, "2027-03-07", "07:00:00", "2027-03-09", "18:45:30");
    f.addTour(2, "2027-02-25", "07:00:00", "2027-03-01", "18:45:00");
    f.addTour(3, "2027-02-20", "07:00:00", "2027-03-20", "18:45:00");
    f.addTour(4, "2027-03-04", "07:00:00", "2027-03-04", "18:45:00");
    f.addTour(5, "2027-03-10", "07:00:00", "2027-03-11", "18:45:00");
    QCOMPARE(reports::stageRange(*f.db, ReportRegister::tour(), first, last), staged.size());
    const QStringList rows = f.rows(QStringLiteral("temp_tour"));
    QCOMPARE(rows.size(), staged.size());
    const QString range = first.toString(Qt::ISODate) + '|' + last.toString(Qt::ISODate);
    for (int i = 0; i < rows.size(); ++i) {
        const QStringList c = rows[i].split('|');
        QCOMPARE(c.size(), 13);
        QCOMPARE(c[0].toInt(), staged[i]);
        QCOMPARE(c[5], QStringLiteral("07:00"));
        QCOMPARE(c[8], QStringLiteral("18:45"));
        QCOMPARE(c.mid(11).join('|'), range);
    }
}

void TestStager::secondRunReplacesTheFirst()
{
    StagingFixture f;
    for (int sl = 1; sl <= 6; ++sl)
        f.addProgramme("local", sl, QStringLiteral("2027-03-0%1").arg(sl), "10:00:00");
    QCOMPARE(
        reports::stageRange(*f.db, ReportRegister::local(), QDate(2027, 3, 1), QDate(2027, 3, 4)),
        4);
    QCOMPARE(
        reports::stageRange(*f.db, ReportRegister::local(), QDate(2027, 3, 5), QDate(2027, 3, 6)),
        2);
    const QStringList rows = f.rows(QStringLiteral("temp_local"));
    QCOMPARE(rows.size(), 2);
    QVERIFY(rows[0].startsWith("5|2027-03-05|"));
    QVERIFY(rows[1].startsWith("6|2027-03-06|"));
}

// A failure halfway (here a refused row; a full disk or a lock behave alike) rolls everything
// back: the report the previous run prepared is still whole.
void TestStager::failureKeepsThePreviousRows()
{
    StagingFixture f;
    for (int sl = 1; sl <= 4; ++sl)
        f.addProgramme("local", sl, QStringLiteral("2027-03-0%1").arg(sl), "10:00:00");
    reports::stageRange(*f.db, ReportRegister::local(), QDate(2027, 3, 1), QDate(2027, 3, 2));
    const QStringList before = f.rows(QStringLiteral("temp_local"));
    f.db->Execute(QStringLiteral("CREATE TRIGGER refuse_third BEFORE INSERT ON temp_local "
                                 "WHEN NEW.sl_no = 3 BEGIN SELECT RAISE(ABORT, 'disk is full'); "
                                 "END"));
    QVERIFY_THROWS_EXCEPTION(
        jet::JetError,
        reports::stageRange(*f.db, ReportRegister::local(), QDate(2027, 3, 1), QDate(2027, 3, 4)));
    QCOMPARE(f.db->transactionDepth(), 0);
    QCOMPARE(f.rows(QStringLiteral("temp_local")), before);
}

QTEST_GUILESS_MAIN(TestStager)
#include "tst_Stager.moc"
