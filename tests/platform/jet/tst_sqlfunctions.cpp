// The query functions: datevalue(), timevalue() and like with Jet's patterns on Varnel text.
#include <QTemporaryDir>
#include <QtTest>

#include "RecordsetHelpers.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetDateTime.h"
#include "platform/jet/JetError.h"
#include "platform/jet/JetLike.h"
#include "platform/jet/Recordset.h"

using jet::Database;

namespace {

QDate date(int y, int m, int d)
{
    return QDate(y, m, d);
}

// Locales whose forms differ in order, separator, year digits, time separator and markers.
const QStringList kLocales = {QStringLiteral("C"),     QStringLiteral("en_US"),
                              QStringLiteral("en_GB"), QStringLiteral("de_DE"),
                              QStringLiteral("kn_IN"), QStringLiteral("fi_FI"),
                              QStringLiteral("en_IN"), QStringLiteral("ja_JP"),
                              QStringLiteral("ko_KR"), QStringLiteral("sv_SE")};

QLocale localeNamed(const QString& name)
{
    return name == QLatin1String("C") ? QLocale::c() : QLocale(name);
}

} // namespace

class TestSqlFunctions : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::shared_ptr<Database> m_db;

    // The places that satisfy `where`, in the order they were added, as Latin-1 text.
    QStringList select(const QString& where)
    {
        auto rs = m_db->OpenRecordset(QStringLiteral("Select * from places where %1").arg(where));
        QStringList out;
        if (rs->RecordCount() == 0)
            return out;
        rs->MoveFirst();
        while (!rs->Eof()) {
            out << QString::fromLatin1(rs->Fields(0).Value().toByteArray());
            rs->MoveNext();
        }
        return out;
    }

private slots:
    void initTestCase()
    {
        m_db = Database::CreateDatabase(m_dir.filePath(QStringLiteral("functions.db")));
        m_db->Execute(QStringLiteral(
            "CREATE TABLE places (place TEXT NOT NULL DEFAULT '', day DATE, at TIME)"));
        // Stored as the Latin-1 characters of the Varnel bytes.
        const QStringList places = {
            QString::fromLatin1("\xA5\xC0\xC5\x67\xC0"), // ಪುರ, with the other ು glyph
            QString::fromLatin1("\xA8\xC9\xA7\xBC\xC0"), // starts with another letter
            QString::fromLatin1("\xB8\xC0\xC8\xE4"),     // ಸ್ಮೃ
            QStringLiteral("PÀ 12"),                     // ASCII digits, drawn Kannada
            QStringLiteral("pÀ"),                        // another glyph than "PÀ"
        };
        for (const QString& place : places)
            m_db->Execute(QStringLiteral("INSERT INTO places VALUES ('%1', '2024-03-05', "
                                         "'21:05:00')")
                              .arg(place));
    }
    void cleanupTestCase() { m_db.reset(); }
    void cleanup() { QLocale::setDefault(QLocale::system()); }

    void likePatterns_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("matches");
        QTest::newRow("star matches empty") << "*"
                                            << "" << true;
        QTest::newRow("prefix") << "ab*"
                                << "abc" << true;
        QTest::newRow("prefix elsewhere") << "ab*"
                                          << "cab" << false;
        QTest::newRow("suffix") << "*bc"
                                << "abc" << true;
        QTest::newRow("stars around") << "*a*b*"
                                      << "xxaxxbxx" << true;
        QTest::newRow("star needs backtracking") << "*ab"
                                                 << "aab" << true;
        QTest::newRow("order matters") << "*a*b"
                                       << "ba" << false;
        QTest::newRow("exact") << "abc"
                               << "abc" << true;
        QTest::newRow("longer text") << "abc"
                                     << "abcd" << false;
        QTest::newRow("question mark") << "a?c"
                                       << "abc" << true;
        QTest::newRow("question mark takes one") << "a?c"
                                                 << "ac" << false;
        QTest::newRow("hash ASCII digit") << "#x"
                                          << "5x" << true;
        QTest::newRow("hash Kannada digit") << "#"
                                            << "೫" << true;
        QTest::newRow("hash letter") << "#"
                                     << "a" << false;
        QTest::newRow("list") << "[abc]"
                              << "b" << true;
        QTest::newRow("list miss") << "[abc]"
                                   << "d" << false;
        QTest::newRow("range") << "[a-c]x"
                               << "bx" << true;
        QTest::newRow("range miss") << "[a-c]x"
                                    << "dx" << false;
        QTest::newRow("Kannada range") << "[ಕ-ಙ]*"
                                       << "ಗದ" << true;
        QTest::newRow("negated list") << "[!a-c]"
                                      << "d" << true;
        QTest::newRow("negated list miss") << "[!a-c]"
                                           << "b" << false;
        QTest::newRow("literal star") << "[*]"
                                      << "*" << true;
        QTest::newRow("literal star only") << "[*]"
                                           << "a" << false;
        QTest::newRow("literal question mark") << "[?]"
                                               << "?" << true;
        QTest::newRow("literal hash") << "[#]"
                                      << "#" << true;
        QTest::newRow("literal bracket") << "[[]"
                                         << "[" << true;
        QTest::newRow("empty list takes nothing") << "a[]b"
                                                  << "ab" << true;
        QTest::newRow("closing bracket alone") << "a]"
                                               << "a]" << true;
        QTest::newRow("case sensitive") << "A*"
                                        << "abc" << false;
        QTest::newRow("hyphen at the end") << "[a-]"
                                           << "-" << true;
        QTest::newRow("Kannada prefix") << "ಬೆಂ*"
                                        << "ಬೆಂಗಳೂರು" << true;
        QTest::newRow("non-BMP one character") << "?"
                                               << "𝔸" << true;
    }
    void likePatterns()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QFETCH(bool, matches);
        QCOMPARE(jet::likeMatch(pattern, text), matches);
    }

    void invalidPatternsAreReported_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::newRow("unclosed list") << "ab[c";
        QTest::newRow("backwards range") << "[z-a]";
    }
    void invalidPatternsAreReported()
    {
        QFETCH(QString, pattern);
        QCOMPARE(jetErrorNumber([&] { jet::likeMatch(pattern, u"abc"); }),
                 jet::errors::kInvalidPattern);
        // In a query the same error reaches the caller, and the connection keeps working.
        QCOMPARE(jetErrorNumber([&] { select(QStringLiteral("place like '%1'").arg(pattern)); }),
                 jet::errors::kInvalidPattern);
        QCOMPARE(select(QStringLiteral("place like '*'")).size(), 5);
    }

    void likeInQueriesComparesVarnelText_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("one spelling of a syllable finds the other")
            << QString::fromLatin1("\xA5\xC0\xC4*")
            << QStringList{QString::fromLatin1("\xA5\xC0\xC5\x67\xC0")};
        QTest::newRow("the stored spelling finds itself")
            << QString::fromLatin1("\xA5\xC0\xC5*")
            << QStringList{QString::fromLatin1("\xA5\xC0\xC5\x67\xC0")};
        QTest::newRow("vowel sign before or after the subjoined glyph")
            << QString::fromLatin1("\xB8\xC0\xE4\xF8")
            << QStringList{QString::fromLatin1("\xB8\xC0\xC8\xE4")};
        QTest::newRow("digits by hash")
            << QStringLiteral("* ##") << QStringList{QStringLiteral("PÀ 12")};
        QTest::newRow("upper and lower case are different glyphs")
            << QStringLiteral("pÀ*") << QStringList{QStringLiteral("pÀ")};
        QTest::newRow("no match") << QStringLiteral("zzz*") << QStringList{};
    }
    void likeInQueriesComparesVarnelText()
    {
        QFETCH(QString, pattern);
        QFETCH(QStringList, expected);
        // Written as the tour search writes it: no blank between like and the quote.
        QCOMPARE(select(QStringLiteral("place like'%1'").arg(pattern)), expected);
    }

    void datesFromText_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("expected"); // invalid: not a date
        QTest::newRow("ISO") << "en_US"
                             << "2024-03-05" << date(2024, 3, 5);
        QTest::newRow("ISO with time") << "en_US"
                                       << "2024-03-05T21:05:00" << date(2024, 3, 5);
        QTest::newRow("C short form") << "C"
                                      << "5 Mar 2024" << date(2024, 3, 5);
        QTest::newRow("C long form") << "C"
                                     << "Tuesday, 5 March 2024" << date(2024, 3, 5);
        QTest::newRow("US month first") << "en_US"
                                        << "3/5/24" << date(2024, 3, 5);
        QTest::newRow("US four-digit year") << "en_US"
                                            << "3/5/2024" << date(2024, 3, 5);
        QTest::newRow("US day 31 is no month") << "en_US"
                                               << "31/12/1999" << QDate();
        QTest::newRow("US long form") << "en_US"
                                      << "Tuesday, March 5, 2024" << date(2024, 3, 5);
        QTest::newRow("window 2029") << "en_US"
                                     << "1/1/29" << date(2029, 1, 1);
        QTest::newRow("window 1930") << "en_US"
                                     << "1/1/30" << date(1930, 1, 1);
        QTest::newRow("GB day first") << "en_GB"
                                      << "05/03/2024" << date(2024, 3, 5);
        QTest::newRow("GB with time after") << "en_GB"
                                            << "05/03/2024 21:05:00" << date(2024, 3, 5);
        QTest::newRow("German dots") << "de_DE"
                                     << "05.03.24" << date(2024, 3, 5);
        QTest::newRow("Kannada locale") << "kn_IN"
                                        << "5/3/24" << date(2024, 3, 5);
        QTest::newRow("Finnish") << "fi_FI"
                                 << "5.3.2024" << date(2024, 3, 5);
        QTest::newRow("year first with slashes") << "en_GB"
                                                 << "2024/03/05" << date(2024, 3, 5);
        QTest::newRow("31 Dec 9999") << "en_GB"
                                     << "31/12/9999" << date(9999, 12, 31);
        QTest::newRow("no 30 February") << "en_GB"
                                        << "30/02/2024" << QDate();
        QTest::newRow("ISO no 30 February") << "en_GB"
                                            << "2024-02-30" << QDate();
        QTest::newRow("word") << "en_GB"
                              << "soon" << QDate();
        QTest::newRow("empty") << "en_GB"
                               << "" << QDate();
        QTest::newRow("trailing junk") << "en_GB"
                                       << "05/03/2024 x" << QDate();
        QTest::newRow("mixed separators") << "en_GB"
                                          << "05/03-2024" << QDate();
    }
    void datesFromText()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(QDate, expected);
        const auto parsed = jet::dateFromText(text, localeNamed(locale));
        QCOMPARE(parsed.value_or(QDate()), expected);
    }

    void timesFromText_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QTime>("expected"); // invalid: not a time
        QTest::newRow("HH:mm") << "en_GB"
                               << "21:05" << QTime(21, 5);
        QTest::newRow("HH:mm:ss") << "en_GB"
                                  << "21:05:07" << QTime(21, 5, 7);
        QTest::newRow("C long form with zone") << "C"
                                               << "21:05:07 UTC" << QTime(21, 5, 7);
        QTest::newRow("US PM") << "en_US"
                               << "9:05:07 PM UTC" << QTime(21, 5, 7);
        QTest::newRow("lower-case pm") << "en_US"
                                       << "9:05 pm" << QTime(21, 5);
        QTest::newRow("midnight AM") << "en_US"
                                     << "12:00:00 AM" << QTime(0, 0);
        QTest::newRow("noon PM") << "en_US"
                                 << "12:30 PM" << QTime(12, 30);
        QTest::newRow("13 PM") << "en_US"
                               << "13:00 PM" << QTime();
        QTest::newRow("Kannada markers") << "kn_IN"
                                         << "09:05:07 ಅಪರಾಹ್ನ UTC" << QTime(21, 5, 7);
        QTest::newRow("Finnish dots") << "fi_FI"
                                      << "21.05.07" << QTime(21, 5, 7);
        QTest::newRow("German date is no time") << "de_DE"
                                                << "05.03.24" << QTime(0, 0);
        QTest::newRow("ISO date-time") << "en_GB"
                                       << "2024-03-05 21:05" << QTime(21, 5);
        QTest::newRow("date and 12-hour time") << "en_GB"
                                               << "05/03/2024 9:05 PM" << QTime(21, 5);
        QTest::newRow("date alone is midnight") << "en_GB"
                                                << "05/03/2024" << QTime(0, 0);
        QTest::newRow("hour 25") << "en_GB"
                                 << "25:00" << QTime();
        QTest::newRow("minute 60") << "en_GB"
                                   << "10:60" << QTime();
        QTest::newRow("word") << "en_GB"
                              << "noon" << QTime();
        QTest::newRow("trailing junk") << "en_GB"
                                       << "10:00 sharp please" << QTime();
    }
    void timesFromText()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(QTime, expected);
        const auto parsed = jet::timeFromText(text, localeNamed(locale));
        QCOMPARE(parsed.value_or(QTime()), expected);
    }

    // Whatever the regional settings, the platform's own text of a date or time reads back
    // as the same date or time (two-digit years within 1930..2029).
    void localeTextsReadBack_data()
    {
        QTest::addColumn<QString>("locale");
        for (const QString& name : kLocales)
            QTest::newRow(qPrintable(name)) << name;
    }
    void localeTextsReadBack()
    {
        QFETCH(QString, locale);
        const QLocale l = localeNamed(locale);
        for (const QDate d : {date(2024, 3, 5), date(1930, 1, 1), date(2029, 12, 31),
                              date(2002, 1, 1), date(2024, 2, 29)}) {
            for (const auto format : {QLocale::ShortFormat, QLocale::LongFormat}) {
                const QString text = l.toString(d, format);
                QVERIFY2(jet::dateFromText(text, l) == d, qPrintable(text));
            }
        }
        for (const QTime t :
             {QTime(0, 0), QTime(9, 5, 7), QTime(12, 0), QTime(21, 5, 59), QTime(23, 59, 59)}) {
            const QString text = l.toString(t, QLocale::LongFormat);
            QVERIFY2(jet::timeFromText(text, l) == t, qPrintable(text));
        }
    }

    void datevalueAndTimevalueInQueries_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("where");
        QTest::addColumn<int>("rows");
        QTest::newRow("date bounds inclusive")
            << "en_GB"
            << "day>= datevalue('05/03/2024') and day<=datevalue('05/03/2024')" << 5;
        QTest::newRow("date after") << "en_GB"
                                    << "day>= datevalue('06/03/2024')" << 0;
        QTest::newRow("US order") << "en_US"
                                  << "day>= datevalue('3/5/24')" << 5;
        QTest::newRow("time bounds inclusive")
            << "en_US"
            << "at>= timevalue('9:05:00 PM UTC') and at<=timevalue('9:05:00 PM UTC')" << 5;
        QTest::newRow("time before") << "C"
                                     << "at<=timevalue('21:04:59 UTC')" << 0;
        QTest::newRow("null argument") << "C"
                                       << "day>= datevalue(null)" << 0;
    }
    void datevalueAndTimevalueInQueries()
    {
        QFETCH(QString, locale);
        QFETCH(QString, where);
        QFETCH(int, rows);
        QLocale::setDefault(localeNamed(locale));
        QCOMPARE(select(where).size(), rows);
    }

    void functionsAnswerInStoredForms()
    {
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
        QCOMPARE(storedText(*m_db, QStringLiteral("SELECT datevalue('3/5/2024')")),
                 QStringLiteral("2024-03-05"));
        QCOMPARE(storedText(*m_db, QStringLiteral("SELECT timevalue('9:05 PM')")),
                 QStringLiteral("21:05:00"));
    }

    void unreadableTextFailsTheQuery()
    {
        QCOMPARE(jetErrorNumber([&] { select(QStringLiteral("day>= datevalue('soon')")); }),
                 jet::errors::kTypeMismatch);
        QCOMPARE(jetErrorNumber([&] { select(QStringLiteral("at>= timevalue('25:00')")); }),
                 jet::errors::kTypeMismatch);
    }
};

QTEST_GUILESS_MAIN(TestSqlFunctions)
#include "tst_sqlfunctions.moc"
