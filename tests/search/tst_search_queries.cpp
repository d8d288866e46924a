#include <QtTest>

#include "SearchDiary.h"
#include "platform/varnel/VarnelCodec.h"
#include "search/DateOrderRule.h"
#include "data/CsvText.h"
#include "search/SearchCsv.h"
#include "search/SearchQueries.h"

using search::ProgrammeBounds;
using search::TourCriteria;

// The statements of the search windows, as text and by the rows they select.
class TestSearchQueries : public QObject {
    Q_OBJECT

private slots:
    void programmeStatements_data();
    void programmeStatements();
    void tourStatements_data();
    void tourStatements();
    void programmeRows_data();
    void programmeRows();
    void tourPeriodOverlap_data();
    void tourPeriodOverlap();
    void placePrefixes_data();
    void placePrefixes();
    void dateOrderRule_data();
    void dateOrderRule();
    void csvFields_data();
    void csvFields();
};

namespace {

const QDate kD0(2027, 3, 5), kD1(2027, 3, 9);
const QTime kT0(9, 5, 7), kT1(21, 30, 0);

// Bits of the bounds in force: date-from, date-to, time-from, time-to.
enum Bound { DateFrom = 1, DateTo = 2, TimeFrom = 4, TimeTo = 8 };

QString filled(QString statement)
{
    return statement.replace(QLatin1String("{D0}"), QLatin1String("2027-03-05"))
        .replace(QLatin1String("{D1}"), QLatin1String("2027-03-09"))
        .replace(QLatin1String("{T0}"), QLatin1String("09:05:07"))
        .replace(QLatin1String("{T1}"), QLatin1String("21:30:00"));
}

} // namespace

void TestSearchQueries::programmeStatements_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("bounds");
    QTest::addColumn<QString>("expected");
    // The sixteen statements as the windows must write them, blanks included.
    const QList<QPair<int, const char*>> statements = {
        {0, "Select * from local order by tarna_date,tarna_time"},
        {DateFrom, "Select * from local where tarna_date>= datevalue('{D0}') order by tarna_date, "
                   "tarna_time"},
        {DateTo,
         "Select * from local where tarna_date<=datevalue('{D1}') order by tarna_date, tarna_time"},
        {TimeFrom, "Select * from local where tarna_time>= timevalue('{T0}') order by tarna_date, "
                   "tarna_time"},
        {TimeTo,
         "Select * from local where tarna_time<=timevalue('{T1}') order by tarna_date, tarna_time"},
        {DateFrom | DateTo, "Select * from local where tarna_date>= datevalue('{D0}') and "
                            "tarna_date<=datevalue('{D1}') order by tarna_date, tarna_time"},
        {DateFrom | TimeFrom, "Select * from local where tarna_date>= datevalue('{D0}') and "
                              "tarna_time>= timevalue('{T0}') order by tarna_date, tarna_time"},
        {DateFrom | TimeTo, "Select * from local where tarna_date>= datevalue('{D0}') and "
                            "tarna_time<=timevalue('{T1}') order by tarna_date, tarna_time"},
        {DateTo | TimeFrom, "Select * from local where tarna_date<=datevalue('{D1}') and "
                            "tarna_time>= timevalue('{T0}') order by tarna_date, tarna_time"},
        {DateTo | TimeTo, "Select * from local where tarna_date<=datevalue('{D1}') and "
                          "tarna_time<=timevalue('{T1}') order by tarna_date, tarna_time"},
        {TimeFrom | TimeTo, "Select * from local where tarna_time>= timevalue('{T0}') and "
                            "tarna_time<=timevalue('{T1}') order by tarna_date, tarna_time"},
        {DateFrom | DateTo | TimeFrom, "Select * from local where tarna_date>= datevalue('{D0}') "
                                       "and tarna_date<=datevalue('{D1}') and tarna_time>= "
                                       "timevalue('{T0}') order by tarna_date, tarna_time"},
        {DateFrom | DateTo | TimeTo,
         "Select * from local where tarna_date>= datevalue('{D0}') and "
         "tarna_date<=datevalue('{D1}') and tarna_time<=timevalue('{T1}') order by tarna_date, "
         "tarna_time"},
        {DateFrom | TimeFrom | TimeTo,
         "Select * from local where tarna_date>= datevalue('{D0}') and tarna_time>= "
         "timevalue('{T0}') and tarna_time<=timevalue('{T1}') order by tarna_date, tarna_time"},
        {DateTo | TimeFrom | TimeTo,
         "Select * from local where tarna_date<=datevalue('{D1}') and tarna_time>= "
         "timevalue('{T0}') and tarna_time<=timevalue('{T1}') order by tarna_date, tarna_time"},
        {DateFrom | DateTo | TimeFrom | TimeTo,
         "Select * from local where tarna_date>= datevalue('{D0}') and "
         "tarna_date<=datevalue('{D1}') and tarna_time>= timevalue('{T0}') and "
         "tarna_time<=timevalue('{T1}') order by tarna_date, tarna_time"},
    };
    for (const QString& table : {QStringLiteral("local"), QStringLiteral("outstation")}) {
        for (const auto& [bounds, text] : statements) {
            QString expected = filled(QString::fromLatin1(text));
            expected.replace(QLatin1String("from local"), QLatin1String("from ") + table);
            QTest::addRow("%s %d", qPrintable(table), bounds) << table << bounds << expected;
        }
    }
}

void TestSearchQueries::programmeStatements()
{
    QFETCH(QString, table);
    QFETCH(int, bounds);
    QFETCH(QString, expected);
    ProgrammeBounds b;
    if (bounds & DateFrom)
        b.dateFrom = kD0;
    if (bounds & DateTo)
        b.dateTo = kD1;
    if (bounds & TimeFrom)
        b.timeFrom = kT0;
    if (bounds & TimeTo)
        b.timeTo = kT1;
    QCOMPARE(search::programmeQuery(table, b), expected);
    QCOMPARE(search::programmeOpeningQuery(table),
             QStringLiteral("Select * from %1 order by tarna_date, tarna_time").arg(table));
}

void TestSearchQueries::tourStatements_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("bounds");
    QTest::addColumn<QString>("expected");
    const QString F = QStringLiteral("ಬೆಂ"), T = QStringLiteral("ಮೈ");
    const QString none;
    struct Row {
        QString from, to;
        int bounds;
        const char* text;
    };
    // The sixteen statements as the window must write them, blanks included ({F} and {T}: the
    // stored forms of the place texts).
    const QList<Row> rows = {
        {F, T, DateFrom | DateTo,
         "Select * from tour where travel_from like'{F}*' and travel_to like '{T}*' and "
         "(travel_date_from>= datevalue('{D0}') or travel_date_to>=datevalue('{D0}'))  and "
         "(travel_date_to<= datevalue('{D1}') or travel_date_from<= datevalue('{D1}')) order by "
         "travel_date_from, travel_date_to"},
        {F, T, DateFrom,
         "Select * from tour where travel_from like'{F}*' and travel_to like '{T}*' and "
         "(travel_date_from>= datevalue('{D0}') or travel_date_to>=datevalue('{D0}'))  order by "
         "travel_date_from, travel_date_to"},
        {F, T, DateTo,
         "Select * from tour where travel_from like'{F}*' and travel_to like '{T}*' and "
         "(travel_date_to<= datevalue('{D1}') or travel_date_from<= datevalue('{D1}')) order by "
         "travel_date_from, travel_date_to"},
        {F, T, 0,
         "Select * from tour where travel_from like'{F}*' and travel_to like '{T}*' order by "
         "travel_date_from, travel_date_to"},
        {F, none, DateFrom | DateTo,
         "Select * from tour where travel_from like'{F}*' and (travel_date_from>= "
         "datevalue('{D0}') or travel_date_to>=datevalue('{D0}'))  and (travel_date_to<= "
         "datevalue('{D1}') or travel_date_from<= datevalue('{D1}')) order by travel_date_from, "
         "travel_date_to"},
        {F, none, DateFrom,
         "Select * from tour where travel_from like'{F}*' and (travel_date_from>= "
         "datevalue('{D0}') or travel_date_to>=datevalue('{D0}')) order by travel_date_from, "
         "travel_date_to"},
        {F, none, DateTo,
         "Select * from tour where travel_from like'{F}*' and (travel_date_to<= datevalue('{D1}') "
         "or travel_date_from<= datevalue('{D1}')) order by travel_date_from, travel_date_to"},
        {F, none, 0,
         "Select * from tour where travel_from like'{F}*' order by travel_date_from, "
         "travel_date_to"},
        {none, T, DateFrom | DateTo,
         "Select * from tour where travel_to like '{T}*' and (travel_date_from>= datevalue('{D0}') "
         "or travel_date_to>=datevalue('{D0}'))  and (travel_date_to<= datevalue('{D1}') or "
         "travel_date_from<= datevalue('{D1}')) order by travel_date_from, travel_date_to"},
        {none, T, DateFrom,
         "Select * from tour where travel_to like '{T}*' and (travel_date_from>= datevalue('{D0}') "
         "or travel_date_to>=datevalue('{D0}')) order by travel_date_from, travel_date_to"},
        {none, T, DateTo,
         "Select * from tour where travel_to like '{T}*' and (travel_date_to<= datevalue('{D1}') "
         "or travel_date_from<= datevalue('{D1}')) order by travel_date_from, travel_date_to"},
        {none, T, 0,
         "Select * from tour where travel_to like '{T}*' order by travel_date_from, "
         "travel_date_to"},
        {none, none, DateFrom | DateTo,
         "Select * from tour where (travel_date_from>= datevalue('{D0}') or "
         "travel_date_to>=datevalue('{D0}'))  and (travel_date_to<= datevalue('{D1}') or "
         "travel_date_from<= datevalue('{D1}')) order by travel_date_from, travel_date_to"},
        {none, none, DateFrom,
         "Select * from tour where (travel_date_from>= datevalue('{D0}') or "
         "travel_date_to>=datevalue('{D0}')) order by travel_date_from, travel_date_to"},
        {none, none, DateTo,
         "Select * from tour where (travel_date_to<= datevalue('{D1}') or travel_date_from<= "
         "datevalue('{D1}')) order by travel_date_from, travel_date_to"},
        {none, none, 0, "Select * from tour order by travel_date_from, travel_date_to"},
    };
    for (const Row& r : rows) {
        QString expected = filled(QString::fromLatin1(r.text));
        expected.replace(QLatin1String("{F}"), varnel::toStoredText(varnel::encode(F).bytes));
        expected.replace(QLatin1String("{T}"), varnel::toStoredText(varnel::encode(T).bytes));
        QTest::addRow("from=%d to=%d dates=%d", int(!r.from.isEmpty()), int(!r.to.isEmpty()),
                      r.bounds)
            << r.from << r.to << r.bounds << expected;
    }
    // A quote in a place text is doubled inside the literal, never ending it.
    QTest::newRow("quote doubled")
        << QStringLiteral("ಕೆ'ಆರ್") << none << 0
        << QStringLiteral("Select * from tour where travel_from like'%1*' order by "
                          "travel_date_from, travel_date_to")
               .arg(varnel::toStoredText(varnel::encode(QStringLiteral("ಕೆ''ಆರ್")).bytes));
}

void TestSearchQueries::tourStatements()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, bounds);
    QFETCH(QString, expected);
    TourCriteria c;
    c.from = varnel::encode(from).bytes;
    c.to = varnel::encode(to).bytes;
    if (bounds & DateFrom)
        c.dateFrom = kD0;
    if (bounds & DateTo)
        c.dateTo = kD1;
    QCOMPARE(search::tourQuery(c), expected);
}

void TestSearchQueries::programmeRows_data()
{
    QTest::addColumn<int>("bounds");
    QTest::addColumn<QDate>("dateFrom");
    QTest::addColumn<QDate>("dateTo");
    QTest::addColumn<QTime>("timeFrom");
    QTest::addColumn<QTime>("timeTo");
    QTest::addColumn<QList<int>>("serials");
    // The register (see programmeRows): 1: 4 March 23:59:59; 2: 5 March 00:00:00;
    // 3: 5 March 09:05:07; 4: 5 March 09:05:06; 5: 9 March 23:59:59; 6: 10 March 12:00:00.
    const QTime none;
    QTest::newRow("whole register, by date and time")
        << 0 << QDate() << QDate() << none << none << QList<int>{1, 2, 4, 3, 5, 6};
    QTest::newRow("date-to includes its whole day")
        << int(DateTo) << QDate() << QDate(2027, 3, 9) << none << none << QList<int>{1, 2, 4, 3, 5};
    QTest::newRow("date-from starts at its midnight")
        << int(DateFrom) << QDate(2027, 3, 5) << QDate() << none << none
        << QList<int>{2, 4, 3, 5, 6};
    QTest::newRow("equal dates list that day")
        << (DateFrom | DateTo) << QDate(2027, 3, 5) << QDate(2027, 3, 5) << none << none
        << QList<int>{2, 4, 3};
    QTest::newRow("time-from to the second")
        << int(TimeFrom) << QDate() << QDate() << QTime(9, 5, 7) << none << QList<int>{1, 3, 5, 6};
    QTest::newRow("time-to to the second")
        << int(TimeTo) << QDate() << QDate() << none << QTime(9, 5, 6) << QList<int>{2, 4};
    QTest::newRow("time range does not wrap past midnight")
        << (TimeFrom | TimeTo) << QDate() << QDate() << QTime(23, 0) << QTime(1, 0) << QList<int>{};
    QTest::newRow("all four bounds")
        << (DateFrom | DateTo | TimeFrom | TimeTo) << QDate(2027, 3, 5) << QDate(2027, 3, 9)
        << QTime(9, 0) << QTime(23, 59, 59) << QList<int>{4, 3, 5};
    QTest::newRow("nothing matches")
        << int(DateFrom) << QDate(2028, 1, 1) << QDate() << none << none << QList<int>{};
}

void TestSearchQueries::programmeRows()
{
    QFETCH(int, bounds);
    QFETCH(QDate, dateFrom);
    QFETCH(QDate, dateTo);
    QFETCH(QTime, timeFrom);
    QFETCH(QTime, timeTo);
    QFETCH(QList<int>, serials);
    SearchDiary diary;
    for (const QString& table : {QStringLiteral("local"), QStringLiteral("outstation")}) {
        diary.addProgramme(table, 1, QDate(2027, 3, 4), QTime(23, 59, 59));
        diary.addProgramme(table, 2, QDate(2027, 3, 5), QTime(0, 0, 0));
        diary.addProgramme(table, 3, QDate(2027, 3, 5), QTime(9, 5, 7));
        diary.addProgramme(table, 4, QDate(2027, 3, 5), QTime(9, 5, 6));
        diary.addProgramme(table, 5, QDate(2027, 3, 9), QTime(23, 59, 59));
        diary.addProgramme(table, 6, QDate(2027, 3, 10), QTime(12, 0, 0));
    }
    ProgrammeBounds b;
    if (bounds & DateFrom)
        b.dateFrom = dateFrom;
    if (bounds & DateTo)
        b.dateTo = dateTo;
    if (bounds & TimeFrom)
        b.timeFrom = timeFrom;
    if (bounds & TimeTo)
        b.timeTo = timeTo;
    QCOMPARE(diary.serialsOf(search::programmeQuery(QStringLiteral("local"), b)), serials);
    QCOMPARE(diary.serialsOf(search::programmeQuery(QStringLiteral("outstation"), b)), serials);
}

void TestSearchQueries::tourPeriodOverlap_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QList<int>>("serials");
    // Tour 1 travels 1 to 10 March; tour 2 on 20 February only; tour 3 on 12 March only.
    QTest::newRow("inside the period") << QDate(2027, 3, 5) << QDate(2027, 3, 6) << QList<int>{1};
    QTest::newRow("from its last day")
        << QDate(2027, 3, 10) << QDate(2027, 3, 12) << QList<int>{1, 3};
    QTest::newRow("to its first day") << QDate(2027, 2, 25) << QDate(2027, 3, 1) << QList<int>{1};
    QTest::newRow("after it") << QDate(2027, 3, 11) << QDate(2027, 3, 12) << QList<int>{3};
    QTest::newRow("date-from alone: arriving on or after it")
        << QDate(2027, 3, 10) << QDate() << QList<int>{1, 3};
    QTest::newRow("date-to alone: departing on or before it")
        << QDate() << QDate(2027, 3, 1) << QList<int>{2, 1};
}

void TestSearchQueries::tourPeriodOverlap()
{
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QList<int>, serials);
    SearchDiary diary;
    diary.addTour(1, QStringLiteral("ಬೆಂಗಳೂರು"), QStringLiteral("ಮೈಸೂರು"), QDate(2027, 3, 1),
                  QDate(2027, 3, 10));
    diary.addTour(2, QStringLiteral("ಬೆಂಗಳೂರು"), QStringLiteral("ಮೈಸೂರು"), QDate(2027, 2, 20),
                  QDate(2027, 2, 20));
    diary.addTour(3, QStringLiteral("ಬೆಂಗಳೂರು"), QStringLiteral("ಮೈಸೂರು"), QDate(2027, 3, 12),
                  QDate(2027, 3, 12));
    TourCriteria c;
    if (from.isValid())
        c.dateFrom = from;
    if (to.isValid())
        c.dateTo = to;
    QCOMPARE(diary.serialsOf(search::tourQuery(c)), serials);
}

void TestSearchQueries::placePrefixes_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QList<int>>("serials");
    // Departures: 1 ಬೆಂಗಳೂರು, 2 ಬಳ್ಳಾರಿ, 3 ಮೈಸೂರು, 4 " ಬೀದರ್" (a leading blank),
    // 5 ಕೆ'ಆರ್ ಪುರ, 6 ಹುಬ್ಬಳ್ಳಿ-ಧಾರವಾಡ; destinations: 1, 3 ಮೈಸೂರು, the rest ಬೆಂಗಳೂರು.
    QTest::newRow("a letter finds the places that begin with it, whatever their first glyph")
        << QStringLiteral("ಬ") << QString() << QList<int>{1, 2};
    QTest::newRow("exact match") << QStringLiteral("ಮೈಸೂರು") << QString() << QList<int>{3};
    QTest::newRow("only at the beginning") << QStringLiteral("ಸೂರು") << QString() << QList<int>{};
    QTest::newRow("blanks only are a criterion")
        << QStringLiteral(" ") << QString() << QList<int>{4};
    QTest::newRow("a quote is searched for") << QStringLiteral("ಕೆ'") << QString() << QList<int>{5};
    QTest::newRow("a star keeps its meaning")
        << QStringLiteral("*ಧಾರ") << QString() << QList<int>{6};
    QTest::newRow("both places must hold")
        << QStringLiteral("ಬ") << QStringLiteral("ಮೈ") << QList<int>{1};
    QTest::newRow("destination alone") << QString() << QStringLiteral("ಮೈಸೂ") << QList<int>{1, 3};
}

void TestSearchQueries::placePrefixes()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QList<int>, serials);
    SearchDiary diary;
    const QStringList departures = {QStringLiteral("ಬೆಂಗಳೂರು"),  QStringLiteral("ಬಳ್ಳಾರಿ"),
                                    QStringLiteral("ಮೈಸೂರು"),   QStringLiteral(" ಬೀದರ್"),
                                    QStringLiteral("ಕೆ'ಆರ್ ಪುರ"), QStringLiteral("ಹುಬ್ಬಳ್ಳಿ-ಧಾರವಾಡ")};
    for (int i = 0; i < departures.size(); ++i)
        diary.addTour(i + 1, departures[i],
                      i == 0 || i == 2 ? QStringLiteral("ಮೈಸೂರು") : QStringLiteral("ಬೆಂಗಳೂರು"),
                      QDate(2027, 3, 1).addDays(i), QDate(2027, 3, 1).addDays(i));
    TourCriteria c;
    c.from = varnel::encode(from).bytes;
    c.to = varnel::encode(to).bytes;
    QCOMPARE(diary.serialsOf(search::tourQuery(c)), serials);
}

void TestSearchQueries::dateOrderRule_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<bool>("otherEnabled");
    QTest::addColumn<QDate>("expected");
    const QDate march10(2027, 3, 10), march12(2027, 3, 12);
    QTest::newRow("from past to comes back") << 0 << march12 << march10 << true << march10;
    QTest::newRow("from stays when to is off") << 0 << march12 << march10 << false << march12;
    QTest::newRow("to before from moves up") << 1 << march12 << march10 << true << march12;
    QTest::newRow("to stays when from is off") << 1 << march12 << march10 << false << march10;
    QTest::newRow("equal dates stand") << 0 << march10 << march10 << true << march10;
    QTest::newRow("in order: nothing moves") << 1 << march10 << march12 << true << march12;
}

void TestSearchQueries::dateOrderRule()
{
    QFETCH(int, index);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(bool, otherEnabled);
    QFETCH(QDate, expected);
    QCOMPARE(search::dateOrderRule(index, from, to, otherEnabled), expected);
}

void TestSearchQueries::csvFields_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("field");
    QTest::newRow("plain") << QStringLiteral("ಪುರಭವನ") << QStringLiteral("ಪುರಭವನ");
    QTest::newRow("comma") << QStringLiteral("42, ಎಂ.ಜಿ. ರಸ್ತೆ")
                           << QStringLiteral("\"42, ಎಂ.ಜಿ. ರಸ್ತೆ\"");
    QTest::newRow("quote") << QStringLiteral("ಅ\"ಆ") << QStringLiteral("\"ಅ\"\"ಆ\"");
    QTest::newRow("line break") << QStringLiteral("ಅ\nಆ") << QStringLiteral("\"ಅ\nಆ\"");
    QTest::newRow("empty") << QString() << QString();
}

void TestSearchQueries::csvFields()
{
    QFETCH(QString, text);
    QFETCH(QString, field);
    QCOMPARE(data::csvField(text), field);
}

QTEST_GUILESS_MAIN(TestSearchQueries)
#include "tst_search_queries.moc"
