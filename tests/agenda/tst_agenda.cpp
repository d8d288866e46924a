#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "SampleDiary.h"
#include "agenda/Agenda.h"
#include "agenda/AgendaTexts.h"
#include "agenda/ClashRule.h"
#include "agenda/SaveClashCheck.h"
#include "data/DiaryDatabase.h"
#include "platform/jet/Database.h"
#include "platform/jet/Recordset.h"
#include "platform/jet/SqlLiteral.h"
#include "platform/varnel/VarnelCodec.h"

namespace {

using agenda::Entry;
using data::Register;

// "L1 2027-03-01 10:00[:ss]" (local no. 1), "O2 ..." (outstation), "T1 <departure> <arrival>";
// the serial number doubles as the row key.
Entry entry(const QString& description)
{
    const QStringList parts = description.split(QLatin1Char(' '));
    const auto time = [](const QString& text) {
        return QTime::fromString(text, text.size() == 5 ? QStringLiteral("HH:mm")
                                                        : QStringLiteral("HH:mm:ss"));
    };
    Entry e;
    e.which = parts[0][0] == QLatin1Char('L')   ? Register::Local
              : parts[0][0] == QLatin1Char('O') ? Register::Outstation
                                                : Register::Tour;
    e.serial = parts[0].mid(1).toInt();
    e.key = e.serial;
    e.date = QDate::fromString(parts[1], Qt::ISODate);
    e.time = time(parts[2]);
    if (e.isTour()) {
        e.endDate = QDate::fromString(parts[3], Qt::ISODate);
        e.endTime = time(parts[4]);
    }
    return e;
}

QString nameOf(const Entry& e)
{
    return data::tableName(e.which).left(1).toUpper() + QString::number(e.serial);
}

void split(const QStringList& descriptions, QList<Entry>& programmes, QList<Entry>& tours)
{
    for (const QString& description : descriptions)
        (description.startsWith(QLatin1Char('T')) ? tours : programmes).append(entry(description));
}

} // namespace

class TestAgenda : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void clashRule_data();
    void clashRule();
    void tourDays_data();
    void tourDays();
    void saveCheck_data();
    void saveCheck();
    void acceptedClashesAreNotAskedAgain();
    void commandLine_data();
    void commandLine();
    void sampleDiaryAgendaListsEveryProgramme();
    void olderDiaryGetsTheArrivalIndex();

private:
    struct Run {
        int exitCode = -1;
        QStringList lines;
    };
    Run cli(const QStringList& arguments, int clashMinutesSetting = -1);
    qint64 keyOf(const QString& table, int serial);

    QTemporaryDir m_dir;
    QString m_diary;
    std::shared_ptr<jet::Database> m_db;
};

// Two registers of programmes and a tour register, as the command line tests read them:
// L1 and L2 are 59 minutes apart, L2 and L3 60; O1 lies between them; T1 takes the person
// away from 2 March 08:00 to 4 March 20:00, over L4 and O2 (30 minutes after L4), and
// arrives exactly when L5 begins. T2's arrival is stored before its departure.
std::shared_ptr<jet::Database> fixtureDiary(const QString& folder)
{
    const auto db = data::OpenDiaryDatabase(folder + QStringLiteral("/Tarnalist.mdb"));
    const auto stored = [](const QString& kannada) {
        return jet::SqlLiteral(varnel::toStoredText(varnel::encode(kannada).bytes));
    };
    const QString meeting = stored(QStringLiteral(u"ಸಭೆ"));
    const QString programme = QStringLiteral("INSERT INTO %1 (sl_no, tarna_date, tarna_time, topic,"
                                             " venue) VALUES (%2, '%3', '%4', %5, %6)");
    const QStringList rows = {"local 1 2027-03-01 10:00:00",     "local 2 2027-03-01 10:59:00",
                              "local 3 2027-03-01 11:59:00",     "local 4 2027-03-03 12:00:00",
                              "local 5 2027-03-04 20:00:00",     "outstation 1 2027-03-01 11:30:00",
                              "outstation 2 2027-03-03 12:30:00"};
    for (const QString& row : rows) {
        const QStringList p = row.split(QLatin1Char(' '));
        const QString venue = p[0] == QLatin1String("local") && p[1] == QLatin1String("1")
                                  ? stored(QStringLiteral(u"ಬೆಂಗಳೂರು"))
                                  : QStringLiteral("''");
        db->Execute(programme.arg(p[0], p[1], p[2], p[3], meeting, venue));
    }
    const QString tour = QStringLiteral("INSERT INTO tour (sl_no, travel_from, travel_to, "
                                        "travel_date_from, travel_time_from, travel_date_to, "
                                        "travel_time_to) VALUES (%1, %2, %3, %4)");
    const QString bengaluru = stored(QStringLiteral(u"ಬೆಂಗಳೂರು"));
    const QString mysuru = stored(QStringLiteral(u"ಮೈಸೂರು"));
    db->Execute(tour.arg(QStringLiteral("1"), bengaluru, mysuru,
                         QStringLiteral("'2027-03-02', '08:00:00', '2027-03-04', '20:00:00'")));
    db->Execute(tour.arg(QStringLiteral("2"), mysuru, bengaluru,
                         QStringLiteral("'2027-03-06', '09:00:00', '2027-03-05', '18:00:00'")));
    return db;
}

void TestAgenda::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_diary = m_dir.filePath(QStringLiteral("Tarnalist.mdb"));
    m_db = fixtureDiary(m_dir.path());
}

void TestAgenda::clashRule_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("within");
    QTest::addColumn<QStringList>("clashes"); // "first second reason", in the rule's order

    const QString tour = QStringLiteral("T1 2027-03-02 08:00 2027-03-04 20:00");
    QTest::newRow("59 minutes apart clash")
        << QStringList{"L1 2027-03-01 10:00", "L2 2027-03-01 10:59"} << 60
        << QStringList{"L1 L2 time"};
    QTest::newRow("59:59 apart clash")
        << QStringList{"O1 2027-03-01 10:00:00", "L2 2027-03-01 10:59:59"} << 60
        << QStringList{"O1 L2 time"};
    QTest::newRow("60 minutes apart do not")
        << QStringList{"L1 2027-03-01 10:00", "O1 2027-03-01 11:00"} << 60 << QStringList{};
    QTest::newRow("the setting's minutes")
        << QStringList{"L1 2027-03-01 10:00", "L2 2027-03-01 11:29"} << 90
        << QStringList{"L1 L2 time"};
    QTest::newRow("no minutes: not even the same time")
        << QStringList{"L1 2027-03-01 10:00", "L2 2027-03-01 10:00"} << 0 << QStringList{};
    QTest::newRow("one register, same time, ordered by serial")
        << QStringList{"O2 2027-03-01 10:00", "O1 2027-03-01 10:00"} << 60
        << QStringList{"O1 O2 time"};
    QTest::newRow("across midnight does not")
        << QStringList{"L1 2027-03-01 23:30", "L2 2027-03-02 00:10"} << 60 << QStringList{};
    QTest::newRow("just after midnight does")
        << QStringList{"L2 2027-03-02 00:59", "L1 2027-03-02 00:00"} << 60
        << QStringList{"L1 L2 time"};
    QTest::newRow("three close together, each pair")
        << QStringList{"L3 2027-03-01 10:40", "L1 2027-03-01 10:00", "O1 2027-03-01 10:20"} << 60
        << QStringList{"L1 O1 time", "L1 L3 time", "O1 L3 time"};
    QTest::newRow("local at the departure does not")
        << QStringList{tour, "L1 2027-03-02 08:00"} << 60 << QStringList{};
    QTest::newRow("local a second after the departure does")
        << QStringList{tour, "L1 2027-03-02 08:00:01"} << 60 << QStringList{"T1 L1 tour"};
    QTest::newRow("local at the arrival does not")
        << QStringList{tour, "L1 2027-03-04 20:00"} << 60 << QStringList{};
    QTest::newRow("local a second before the arrival does")
        << QStringList{tour, "L1 2027-03-04 19:59:59"} << 60 << QStringList{"T1 L1 tour"};
    QTest::newRow("local on a day in between, at any hour")
        << QStringList{tour, "L1 2027-03-03 00:00", "L2 2027-03-03 23:59:59"} << 0
        << QStringList{"T1 L1 tour", "T1 L2 tour"};
    QTest::newRow("outstation during a tour does not")
        << QStringList{tour, "O1 2027-03-03 12:00"} << 60 << QStringList{};
    QTest::newRow("during a tour two programmes still clash by time")
        << QStringList{tour, "L1 2027-03-03 12:00", "O1 2027-03-03 12:30"} << 60
        << QStringList{"T1 L1 tour", "L1 O1 time"};
    QTest::newRow("a one-day tour") << QStringList{"T1 2027-03-02 08:00 2027-03-02 18:00",
                                                   "L1 2027-03-02 12:00", "L2 2027-03-02 19:00"}
                                    << 0 << QStringList{"T1 L1 tour"};
    QTest::newRow("an arrival stored before the departure holds nothing")
        << QStringList{"T1 2027-03-05 08:00 2027-03-02 18:00", "L1 2027-03-03 12:00"} << 0
        << QStringList{};
    QTest::newRow("overlapping tours, a long one left earlier")
        << QStringList{"T2 2027-03-01 08:00 2027-03-10 08:00",
                       "T1 2027-03-02 08:00 2027-03-02 "
                       "10:00",
                       "L1 2027-03-02 09:00", "L2 2027-03-09 09:00"}
        << 0 << QStringList{"T2 L1 tour", "T1 L1 tour", "T2 L2 tour"};
}

void TestAgenda::clashRule()
{
    QFETCH(QStringList, entries);
    QFETCH(int, within);
    QList<Entry> programmes, tours;
    split(entries, programmes, tours);
    QStringList found;
    for (const agenda::Clash& c : agenda::findClashes(programmes, tours, within))
        found << nameOf(c.first) + QLatin1Char(' ') + nameOf(c.second) + QLatin1Char(' ') +
                     agenda::reasonName(c.reason);
    QTEST(found, "clashes");
}

void TestAgenda::tourDays_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("lines"); // "date time register-serial kind", ! when marked

    // The range is 2027-03-02 to 2027-03-04.
    QTest::newRow("departure, a day on tour, arrival")
        << QStringList{"T1 2027-03-02 08:00 2027-03-04 20:00"}
        << QStringList{"03-02 08:00 T1 1", "03-03 - T1 2", "03-04 20:00 T1 3"};
    QTest::newRow("left before the range, arrives after it")
        << QStringList{"T1 2027-02-20 08:00 2027-03-10 20:00"}
        << QStringList{"03-02 - T1 2", "03-03 - T1 2", "03-04 - T1 2"};
    QTest::newRow("overnight: no day between")
        << QStringList{"T1 2027-03-03 22:00 2027-03-04 06:00"}
        << QStringList{"03-03 22:00 T1 1", "03-04 06:00 T1 3"};
    QTest::newRow("one day: once, at the departure")
        << QStringList{"T1 2027-03-03 08:00 2027-03-03 18:00"} << QStringList{"03-03 08:00 T1 4"};
    QTest::newRow("arrival time before departure: once")
        << QStringList{"T1 2027-03-03 18:00 2027-03-03 08:00"} << QStringList{"03-03 18:00 T1 4"};
    QTest::newRow("arrival date before departure: once, on the departure day")
        << QStringList{"T1 2027-03-03 18:00 2027-02-25 08:00"} << QStringList{"03-03 18:00 T1 4"};
    QTest::newRow("outside the range") << QStringList{"T1 2027-03-05 08:00 2027-03-07 08:00",
                                                      "T2 2027-02-25 08:00 2027-03-01 22:00"}
                                       << QStringList{};
    QTest::newRow("a day on tour first; the tour marked on the day it holds a programme")
        << QStringList{"T1 2027-03-01 08:00 2027-03-03 07:00", "L1 2027-03-02 06:00",
                       "O1 2027-03-02 05:00", "L2 2027-03-03 07:00"}
        << QStringList{"03-02 - T1 2 !", "03-02 05:00 O1 0", "03-02 06:00 L1 0 !",
                       "03-03 07:00 L2 0", "03-03 07:00 T1 3"};
}

void TestAgenda::tourDays()
{
    QFETCH(QStringList, entries);
    QList<Entry> programmes, tours;
    split(entries, programmes, tours);
    const QList<agenda::AgendaDay> days =
        agenda::buildAgenda(QDate(2027, 3, 2), 3, programmes, tours, 0).days;
    QCOMPARE(days.size(), 3);
    QStringList lines;
    for (const agenda::AgendaDay& day : days) {
        for (const agenda::AgendaLine& line : day.lines) {
            QCOMPARE(line.date, day.date);
            lines << QStringLiteral("%1 %2 %3 %4%5")
                         .arg(line.date.toString(QStringLiteral("MM-dd")),
                              line.time.isValid() ? line.time.toString(QStringLiteral("HH:mm"))
                                                  : QStringLiteral("-"),
                              nameOf(line.entry))
                         .arg(int(line.kind))
                         .arg(line.clashes.isEmpty() ? QString() : QStringLiteral(" !"));
        }
    }
    QTEST(lines, "lines");
}

qint64 TestAgenda::keyOf(const QString& table, int serial)
{
    const auto row = m_db->OpenRecordset(
        QStringLiteral("Select rowid from %1 where sl_no=%2").arg(table).arg(serial),
        jet::RecordsetType::Snapshot);
    return row->Fields(0).Value().toLongLong();
}

void TestAgenda::saveCheck_data()
{
    QTest::addColumn<QString>("candidate"); // as entry(), the serial naming the row changed
    QTest::addColumn<QStringList>("clashes");
    QTest::newRow("a new local programme by L1 and L2")
        << "L0 2027-03-01 10:31" << QStringList{"L1", "L2", "O1"};
    QTest::newRow("L1 changed, kept at its time: not with itself")
        << "L1 2027-03-01 10:00" << QStringList{"L2"};
    QTest::newRow("O1 moved beside L5") << "O1 2027-03-04 19:30" << QStringList{"L5"};
    QTest::newRow("a local programme while away") << "L0 2027-03-02 09:00" << QStringList{"T1"};
    QTest::newRow("an outstation programme while away") << "O0 2027-03-02 09:00" << QStringList{};
    QTest::newRow("a new tour over L3 and L4, arriving as L5 begins")
        << "T0 2027-03-01 11:00 2027-03-04 20:00" << QStringList{"L3", "L4"};
    QTest::newRow("T1 changed to leave later")
        << "T1 2027-03-03 12:00 2027-03-05 08:00" << QStringList{"L5"};
}

void TestAgenda::saveCheck()
{
    QFETCH(QString, candidate);
    const Entry e = entry(candidate);
    agenda::SaveCandidate save{e.which, e.date, e.time, e.endDate, e.endTime, {}};
    if (e.serial > 0)
        save.ownKey = keyOf(data::tableName(e.which), e.serial);
    QStringList found;
    const QList<Entry> clashes = agenda::clashesOnSave(*m_db, save, 60);
    for (const Entry& c : clashes)
        found << nameOf(c);
    QTEST(found, "clashes");
    // The question names each of them, in Kannada digits, and every character of it can be
    // shown in Varnel.
    const QString question = agenda::texts::clashQuestion(clashes);
    QCOMPARE(question.count(QLatin1Char('\n')), clashes.size() + 1);
    QVERIFY(!question.contains(QRegularExpression(QStringLiteral("[0-9]"))));
    QVERIFY(varnel::encode(question).ok());
}

void TestAgenda::acceptedClashesAreNotAskedAgain()
{
    agenda::SaveClashCheck check(60);
    const agenda::SaveCandidate save{Register::Local, QDate(2027, 3, 1), QTime(10, 31), {}, {}, {}};
    const QList<Entry> first = check.newClashes(*m_db, save);
    QCOMPARE(first.size(), 3);
    check.accept(first.mid(0, 2));
    const QList<Entry> left = check.newClashes(*m_db, save);
    QCOMPARE(left.size(), 1);
    QCOMPARE(nameOf(left.first()), nameOf(first[2]));
    check.accept(left);
    QVERIFY(check.newClashes(*m_db, save).isEmpty());
}

TestAgenda::Run TestAgenda::cli(const QStringList& arguments, int clashMinutesSetting)
{
    // The settings file of the program, in a home of its own.
    QTemporaryDir config;
    if (clashMinutesSetting >= 0) {
        QDir(config.path()).mkpath(QStringLiteral("Velmora"));
        QFile ini(config.filePath(QStringLiteral("Velmora/Velmora.ini")));
        if (!ini.open(QIODevice::WriteOnly))
            qFatal("cannot write the settings file");
        ini.write("[agenda]\nclash-minutes=" + QByteArray::number(clashMinutesSetting) + "\n");
    }
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VELMORA_CLI), arguments);
    if (!process.waitForFinished(60000))
        qFatal("velmora-cli did not finish");
    Run run{process.exitCode(), {}};
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    if (!out.isEmpty())
        run.lines = out.chopped(2).split(QStringLiteral("\r\n"));
    return run;
}

void TestAgenda::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("setting"); // clash-minutes in the settings file, -1: none
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("lines"); // a number alone: how many lines

    const QString meeting = QStringLiteral(u"ಸಭೆ"), trip = QStringLiteral(u": ಬೆಂಗಳೂರು - ಮೈಸೂರು");
    QTest::newRow("agenda of four days")
        << QStringList{"agenda", "--from", "2027-03-01", "--days", "4"} << -1 << 0
        << QStringList{"2027-03-01,10:00,local,1,\"" + meeting + QStringLiteral(u", ಬೆಂಗಳೂರು\""),
                       "2027-03-01,10:59,local,2," + meeting,
                       "2027-03-01,11:30,outstation,1," + meeting,
                       "2027-03-01,11:59,local,3," + meeting,
                       QStringLiteral(u"2027-03-02,08:00,tour,1,ನಿರ್ಗಮನ") + trip,
                       QStringLiteral(u"2027-03-03,,tour,1,ಪ್ರವಾಸದಲ್ಲಿ") + trip,
                       "2027-03-03,12:00,local,4," + meeting,
                       "2027-03-03,12:30,outstation,2," + meeting,
                       "2027-03-04,20:00,local,5," + meeting,
                       QStringLiteral(u"2027-03-04,20:00,tour,1,ಆಗಮನ") + trip};
    QTest::newRow("a tour arriving before it leaves, once")
        << QStringList{"agenda", "--from", "2027-03-06", "--days", "1"} << -1 << 0
        << QStringList{QStringLiteral(u"2027-03-06,09:00,tour,2,ಪ್ರವಾಸ: ಮೈಸೂರು - ಬೆಂಗಳೂರು")};
    QTest::newRow("agenda of an empty week")
        << QStringList{"agenda", "--from", "2027-04-01"} << -1 << 1 << QStringList{};
    QTest::newRow("clashes at the default 60 minutes")
        << QStringList{"clashes"} << -1 << 0
        << QStringList{"local,1,local,2,time", "local,2,outstation,1,time",
                       "outstation,1,local,3,time", "tour,1,local,4,tour",
                       "local,4,outstation,2,time"};
    QTest::newRow("clashes of one day")
        << QStringList{"clashes", "--from", "2027-03-03", "--to", "2027-03-03"} << -1 << 0
        << QStringList{"tour,1,local,4,tour", "local,4,outstation,2,time"};
    QTest::newRow("--within 0 leaves the tour") << QStringList{"clashes", "--within", "0"} << 120
                                                << 0 << QStringList{"tour,1,local,4,tour"};
    QTest::newRow("the settings file's 120 minutes")
        << QStringList{"clashes"} << 120 << 0 << QStringList{"8"};
    QTest::newRow("no clashes in the range")
        << QStringList{"clashes", "--from", "2027-03-05"} << -1 << 1 << QStringList{};
    for (const QStringList& bad :
         {QStringList{"agenda", "--days", "0"}, QStringList{"agenda", "--from", "2027-02-30"},
          QStringList{"clashes", "--within", "-5"}, QStringList{"clashes", "--within", "1h"},
          QStringList{"clashes", "extra"}})
        QTest::newRow(qPrintable(bad.join(QLatin1Char(' ')))) << bad << -1 << 2 << QStringList{};
    QTest::newRow("a missing diary")
        << QStringList{"agenda", "--diary", "MISSING"} << -1 << 2 << QStringList{};
}

void TestAgenda::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, setting);
    QFETCH(QStringList, lines);
    QStringList args = arguments;
    args.replaceInStrings(QStringLiteral("MISSING"), m_dir.filePath(QStringLiteral("none.mdb")));
    if (!args.contains(QStringLiteral("--diary")))
        args << QStringLiteral("--diary") << m_diary;
    const Run run = cli(args, setting);
    QTEST(run.exitCode, "exitCode");
    if (lines.size() == 1 && lines.first().toInt() > 0)
        QCOMPARE(run.lines.size(), lines.first().toInt());
    else
        QCOMPARE(run.lines, lines);
}

void TestAgenda::sampleDiaryAgendaListsEveryProgramme()
{
    QTemporaryDir folder;
    openSampleDiary(folder.path());
    const Run run = cli({"agenda", "--from", "2026-01-01", "--days", "1000", "--diary",
                         folder.filePath(QStringLiteral("Tarnalist.mdb"))});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.lines.filter(QRegularExpression(QStringLiteral(",(local|outstation),"))).size(),
             90);
    QCOMPARE(run.lines, [&] {
        QStringList sorted = run.lines;
        std::stable_sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
            return a.left(16) < b.left(16);
        });
        return sorted;
    }());
}

// A diary made before the arrivals' index gives the same agenda without it (inside a write,
// where it is not added) and with it (added at the first read outside one).
void TestAgenda::olderDiaryGetsTheArrivalIndex()
{
    QTemporaryDir folder;
    const auto db = fixtureDiary(folder.path());
    db->Execute(QStringLiteral("DROP INDEX tour_by_arrival"));
    const auto indexed = [&] {
        return db->OpenRecordset(QStringLiteral("Select name from sqlite_master where "
                                                "name='tour_by_arrival'"),
                                 jet::RecordsetType::Snapshot)
                   ->RecordCount() == 1;
    };
    const auto agendaLines = [&] {
        QStringList lines;
        const agenda::Agenda week = agenda::readAgenda(*db, QDate(2027, 3, 1), 7, 60);
        for (const agenda::AgendaDay& day : week.days) {
            for (const agenda::AgendaLine& line : day.lines)
                lines << nameOf(line.entry) + line.date.toString() + line.text() +
                             QString::number(line.clashes.size());
        }
        return lines;
    };
    db->BeginTrans();
    const QStringList without = agendaLines();
    QVERIFY(!indexed());
    db->Rollback();
    QCOMPARE(agendaLines(), without);
    // A program that only reads leaves the diary as it is; the next one to open it for writing
    // adds the index as it opens it.
    const QString diary = folder.filePath(QStringLiteral("Tarnalist.mdb"));
    QCOMPARE(cli({"agenda", "--from", "2027-03-01", "--days", "7", "--diary", diary}).exitCode, 0);
    QVERIFY(!indexed());
    QCOMPARE(cli({"deleted", "restore", "local", "999", "--diary", diary}).exitCode, 2);
    QVERIFY(indexed());
    QCOMPARE(without.size(), 11);
}

QTEST_GUILESS_MAIN(TestAgenda)
#include "tst_agenda.moc"
