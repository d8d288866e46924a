// Jet values to the diary's forms, and a register's rows to diary rows, without any file.
#include <cmath>
#include <limits>

#include <QtTest>

#include "legacy/JetValues.h"
#include "legacy/LegacyError.h"
#include "legacy/LegacyLayout.h"
#include "legacy/RegisterConversion.h"

using legacy::RawRow;
using legacy::RawValue;

namespace {

// A local programme row with serial number `serial` (NaN: none) and the given date and time.
RawRow programme(double serial, RawValue date = RawValue::of(46376.0),
                 RawValue time = RawValue::of(0.5))
{
    RawRow row{std::isnan(serial) ? RawValue::null() : RawValue::of(serial), date,
               RawValue::text("d"), time};
    for (int i = 0; i < 6; ++i)
        row.append(RawValue::text(QByteArray::number(serial)));
    return row;
}

const legacy::LegacyRegister& local()
{
    return legacy::legacyRegisters().first();
}

} // namespace

class TestLegacyValues : public QObject {
    Q_OBJECT

private slots:
    void datesAndTimes_data();
    void datesAndTimes();
    void texts_data();
    void texts();
    void serialNumbers_data();
    void serialNumbers();
    void emptyValues();
    void refusesValuesThatDoNotConvert();
};

void TestLegacyValues::datesAndTimes_data()
{
    QTest::addColumn<double>("days");
    QTest::addColumn<QByteArray>("date"); // empty: refused
    QTest::addColumn<QByteArray>("time");
    QTest::newRow("day 0, a time alone")
        << 0.75 << QByteArray("1899-12-30") << QByteArray("18:00:00");
    QTest::newRow("a date") << 46376.0 << QByteArray("2026-12-20") << QByteArray("00:00:00");
    QTest::newRow("seconds") << 0.385520833333 << QByteArray("1899-12-30")
                             << QByteArray("09:15:09");
    QTest::newRow("a hair below midnight")
        << 0.99999999999 << QByteArray("1899-12-30") << QByteArray("23:59:59");
    QTest::newRow("before 1899 counts back, time forward")
        << -1.25 << QByteArray("1899-12-29") << QByteArray("06:00:00");
    QTest::newRow("year 100") << -657434.0 << QByteArray("0100-01-01") << QByteArray("00:00:00");
    QTest::newRow("year 9999") << 2958465.5 << QByteArray("9999-12-31") << QByteArray("12:00:00");
    QTest::newRow("beyond year 4637")
        << 1000000.0 << QByteArray("4637-11-26") << QByteArray("00:00:00");
    QTest::newRow("before year 100") << -657435.0 << QByteArray() << QByteArray();
    QTest::newRow("after year 9999") << 2958466.0 << QByteArray() << QByteArray();
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << QByteArray()
                                  << QByteArray();
}

void TestLegacyValues::datesAndTimes()
{
    QFETCH(double, days);
    QFETCH(QByteArray, date);
    QFETCH(QByteArray, time);
    QCOMPARE(legacy::isoDateFromDays(days).value_or(QByteArray()), date);
    QCOMPARE(legacy::isoTimeFromDays(days).value_or(QByteArray()), time);
}

void TestLegacyValues::texts_data()
{
    QTest::addColumn<int>("form");
    QTest::addColumn<QByteArray>("utf8");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<uint>("unmapped");
    QByteArray everyByte;
    for (int b = 0x20; b <= 0xFF; ++b)
        everyByte.append(char(b));
    const auto latin1 = [](const QByteArray& bytes) { return QString::fromLatin1(bytes).toUtf8(); };
    const int jet3 = int(legacy::JetTextForm::Latin1);
    const int jet4 = int(legacy::JetTextForm::Windows1252);
    QTest::newRow("Jet 3: every byte") << jet3 << latin1(everyByte) << everyByte << 0u;
    QTest::newRow("Jet 3: CR LF") << jet3 << QByteArray("a\r\nb") << QByteArray("a\r\nb") << 0u;
    QTest::newRow("Jet 3: beyond Latin-1")
        << jet3 << QStringLiteral(u"a\u20ACb").toUtf8() << QByteArray() << 0x20ACu;
    QTest::newRow("Jet 4: the code page's characters")
        << jet4 << QStringLiteral(u"\u20AC\u201A\u0178\u00FF").toUtf8()
        << QByteArray("\x80\x82\x9F\xFF") << 0u;
    QTest::newRow("Jet 4: the five undefined bytes")
        << jet4 << QStringLiteral(u"\u0081\u008D\u008F\u0090\u009D").toUtf8()
        << QByteArray("\x81\x8D\x8F\x90\x9D") << 0u;
    QTest::newRow("Jet 4: a control character the code page has not")
        << jet4 << QStringLiteral(u"\u0080").toUtf8() << QByteArray() << 0x80u;
    QTest::newRow("broken UTF-8") << jet3 << QByteArray("ab\xC3") << QByteArray() << 0u;
    QTest::newRow("Jet 4: Kannada")
        << jet4 << QStringLiteral(u"\u0C95").toUtf8() << QByteArray() << 0x0C95u;
}

void TestLegacyValues::texts()
{
    QFETCH(int, form);
    QFETCH(QByteArray, utf8);
    QFETCH(QByteArray, bytes);
    QFETCH(uint, unmapped);
    const legacy::JetText text =
        legacy::varnelFromJetText(utf8, static_cast<legacy::JetTextForm>(form));
    QCOMPARE(uint(text.unmapped), unmapped);
    // No bytes expected: the text is refused.
    QCOMPARE(text.ok(), !bytes.isEmpty());
    if (text.ok())
        QCOMPARE(text.bytes, bytes);
}

void TestLegacyValues::serialNumbers_data()
{
    QTest::addColumn<QList<double>>("serials"); // in the file's order; NaN: none
    QTest::addColumn<QList<int>>("order");      // which file row gets serial 1, 2, ...
    QTest::addColumn<bool>("renumbered");
    const double none = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("dense, in order") << QList<double>{1, 2, 3} << QList<int>{0, 1, 2} << false;
    QTest::newRow("dense, out of order") << QList<double>{3, 1, 2} << QList<int>{1, 2, 0} << false;
    QTest::newRow("a gap") << QList<double>{1, 5, 2} << QList<int>{0, 2, 1} << true;
    QTest::newRow("a repeat keeps the file's order")
        << QList<double>{2, 1, 2} << QList<int>{1, 0, 2} << true;
    QTest::newRow("starting at 0") << QList<double>{0, 1} << QList<int>{0, 1} << true;
    QTest::newRow("none goes last") << QList<double>{none, 1, 2} << QList<int>{1, 2, 0} << true;
    QTest::newRow("empty register") << QList<double>{} << QList<int>{} << false;
}

void TestLegacyValues::serialNumbers()
{
    QFETCH(QList<double>, serials);
    QFETCH(QList<int>, order);
    QFETCH(bool, renumbered);
    QList<RawRow> rows;
    for (double serial : serials)
        rows.append(programme(serial));
    const legacy::ConvertedRegister converted =
        legacy::convertRegister(local(), rows, legacy::JetTextForm::Latin1, QStringLiteral("x"));
    QCOMPARE(converted.summary.renumbered, renumbered);
    QCOMPARE(converted.rows.size(), order.size());
    for (qsizetype i = 0; i < order.size(); ++i) {
        QCOMPARE(converted.rows[i].serial, int(i) + 1);
        // Each row's last text names the serial it had in the file.
        QCOMPARE(converted.rows[i].values.last(), rows[order[i]].last().utf8);
    }
}

void TestLegacyValues::emptyValues()
{
    RawRow row = programme(1, RawValue::null(), RawValue::null());
    row[4] = RawValue::null();   // a NULL text
    row[5] = RawValue::text(""); // an empty one
    const legacy::ConvertedRegister converted = legacy::convertRegister(
        local(), {programme(2), row}, legacy::JetTextForm::Latin1, QStringLiteral("x"));
    const legacy::DiaryRow& repaired = converted.rows[0];
    QCOMPARE(repaired.values[0], QByteArray(legacy::kEmptyDate));
    QCOMPARE(repaired.values[2], QByteArray(legacy::kEmptyTime));
    QCOMPARE(repaired.values[3], QByteArray());
    QCOMPARE(repaired.values[4], QByteArray());
    QCOMPARE(converted.summary.emptyDates, QList<int>{1});
    QCOMPARE(converted.summary.emptyTimes, QList<int>{1});
    QCOMPARE(converted.rows[1].values[0], QByteArray("2026-12-20"));
}

void TestLegacyValues::refusesValuesThatDoNotConvert()
{
    RawRow badDate = programme(1, RawValue::of(1e9));
    RawRow badText = programme(1);
    badText[6] = RawValue::text(QStringLiteral(u"\u0C95").toUtf8());
    for (const RawRow& row : {badDate, badText}) {
        try {
            legacy::convertRegister(local(), {row}, legacy::JetTextForm::Windows1252,
                                    QStringLiteral("/f/Tarnalist.mdb"));
            QFAIL("a value that does not convert was taken");
        } catch (const legacy::LegacyError& error) {
            QVERIFY2(error.text().contains(QLatin1String("'/f/Tarnalist.mdb'")),
                     qPrintable(error.text()));
            QVERIFY(error.text().contains(QLatin1String("record 1 of its table 'local'")));
        }
    }
}

QTEST_GUILESS_MAIN(TestLegacyValues)
#include "tst_legacy_values.moc"
