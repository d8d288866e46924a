// Weekday names and the date and time texts of the grids and staging rows.
#include <QtTest>

#include "data/DayName.h"
#include "platform/jet/JetDateTime.h"
#include "platform/varnel/VarnelCodec.h"

class TestDayName : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::system()); }

    // Checked through the codec, so a wrong byte shows as a wrong Kannada word.
    void everyWeekdayHasItsName_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("kannada");
        QTest::newRow("Sunday") << QDate(2024, 3, 3) << "ಭಾನುವಾರ";
        QTest::newRow("Monday") << QDate(2024, 3, 4) << "ಸೋಮವಾರ";
        QTest::newRow("Tuesday") << QDate(2024, 3, 5) << "ಮಂಗಳವಾರ";
        QTest::newRow("Wednesday") << QDate(2024, 3, 6) << "ಬುಧವಾರ";
        QTest::newRow("Thursday") << QDate(2024, 3, 7) << "ಗುರುವಾರ";
        QTest::newRow("Friday") << QDate(2024, 3, 8) << "ಶುಕ್ರವಾರ";
        QTest::newRow("Saturday") << QDate(2024, 3, 9) << "ಶನಿವಾರ";
    }
    void everyWeekdayHasItsName()
    {
        QFETCH(QDate, date);
        QFETCH(QString, kannada);
        QCOMPARE(varnel::decode(data::DayName(date)), kannada);
    }

    void edgeCasesGiveTheExactBytes_data()
    {
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QByteArray>("name");
        const QByteArray tuesday("\xAA\xC0\xC4\x41\x55\xC0\xBC\xC0\xAA\xC1\x67\xC0");
        const QByteArray friday("\xB1\xC0\xC4\x50\xC0\xE6\xAA\xC1\x67\xC0");
        const QByteArray sunday("\xA8\x73\xC1\xA3\xC0\xC4\xAA\xC1\x67\xC0");
        const QByteArray saturday("\xB1\xC0\xA4\xAA\xC1\x67\xC0");
        QTest::newRow("1 January 2002")
            << QDateTime(QDate(2002, 1, 1), QTime(0, 0)) << "en_US" << tuesday;
        QTest::newRow("31 December 9999")
            << QDateTime(QDate(9999, 12, 31), QTime(12, 0)) << "en_US" << friday;
        QTest::newRow("late evening keeps its date")
            << QDateTime(QDate(2024, 3, 9), QTime(23, 59, 59)) << "en_US" << saturday;
        QTest::newRow("Monday-first locale, Sunday")
            << QDateTime(QDate(2024, 3, 10), QTime(10, 0)) << "de_DE" << sunday;
        QTest::newRow("Saturday-first locale, Sunday")
            << QDateTime(QDate(2024, 3, 10), QTime(10, 0)) << "ar_EG" << sunday;
    }
    void edgeCasesGiveTheExactBytes()
    {
        QFETCH(QDateTime, when);
        QFETCH(QString, locale);
        QFETCH(QByteArray, name);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(data::DayName(when), name);
        QCOMPARE(data::DayName(when.date()), name);
    }

    void invalidDateHasNoName() { QCOMPARE(data::DayName(QDate()), QByteArray()); }

    void pickerFormats()
    {
        QCOMPARE(QDate(2024, 3, 5).toString(QLatin1String(data::kPickerDateFormat)),
                 QStringLiteral("05/03/2024   "));
        QCOMPARE(QTime(21, 5).toString(QLatin1String(data::kPickerTimeFormat)),
                 QStringLiteral("21:05"));
    }

    void textsUseTheLocaleSeparators_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::newRow("C") << "C"
                           << "05/03/2024"
                           << "21:05";
        QTest::newRow("en_US") << "en_US"
                               << "05/03/2024"
                               << "21:05";
        QTest::newRow("de_DE") << "de_DE"
                               << "05.03.2024"
                               << "21:05";
        QTest::newRow("fi_FI") << "fi_FI"
                               << "05.03.2024"
                               << "21.05";
        QTest::newRow("sv_SE") << "sv_SE"
                               << "05-03-2024"
                               << "21:05";
        QTest::newRow("kn_IN") << "kn_IN"
                               << "05/03/2024"
                               << "21:05";
    }
    void textsUseTheLocaleSeparators()
    {
        QFETCH(QString, locale);
        QFETCH(QString, date);
        QFETCH(QString, time);
        const QLocale l = locale == QLatin1String("C") ? QLocale::c() : QLocale(locale);
        // Day first, then month, whatever the locale's own order: never minutes.
        QCOMPARE(data::gridDateText(QDate(2024, 3, 5), l), date);
        QCOMPARE(data::hourMinuteText(QTime(21, 5, 59), l), time);
        QCOMPARE(data::stagingTimeText(QTime(21, 5, 59)), QStringLiteral("21:05"));
        QCOMPARE(data::stagingTimeText(QTime(9, 5)), QStringLiteral("09:05"));
    }

    // The texts written into query statements read back exactly, far from today too.
    void queryTextsReadBack_data()
    {
        QTest::addColumn<QString>("locale");
        for (const char* name : {"en_US", "en_GB", "de_DE", "kn_IN", "fi_FI", "ko_KR"})
            QTest::newRow(name) << name;
    }
    void queryTextsReadBack()
    {
        QFETCH(QString, locale);
        const QLocale l(locale);
        for (const QDate d : {QDate(1901, 2, 3), QDate(2024, 3, 5), QDate(2150, 12, 31)}) {
            const QString text = data::queryDateText(d, l);
            QVERIFY2(jet::dateFromText(text, l) == d, qPrintable(text));
        }
        for (const QTime t : {QTime(0, 0), QTime(12, 0, 1), QTime(21, 5, 7)}) {
            const QString text = data::queryTimeText(t, l);
            QVERIFY2(jet::timeFromText(text, l) == t, qPrintable(text));
        }
    }
};

QTEST_GUILESS_MAIN(TestDayName)
#include "tst_dayname.moc"
