#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "EngagementFixture.h"
#include "engagements/ClashRule.h"
#include "engagements/ClashTexts.h"
#include "engagements/SaveClashCheck.h"
#include "platform/jet/Database.h"
#include "platform/jet/Recordset.h"
#include "platform/varnel/VarnelCodec.h"

using engagements::Entry;

class TestClashRule : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void clashRule_data();
    void clashRule();
    void saveCheck_data();
    void saveCheck();
    void acceptedClashesAreNotAskedAgain();

private:
    qint64 keyOf(const QString& table, int serial);

    QTemporaryDir m_dir;
    std::shared_ptr<jet::Database> m_db;
};

void TestClashRule::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_db = fixtureDiary(m_dir.path());
}

void TestClashRule::clashRule_data()
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

void TestClashRule::clashRule()
{
    QFETCH(QStringList, entries);
    QFETCH(int, within);
    QList<Entry> programmes, tours;
    split(entries, programmes, tours);
    QStringList found;
    for (const engagements::Clash& c : engagements::findClashes(programmes, tours, within))
        found << nameOf(c.first) + QLatin1Char(' ') + nameOf(c.second) + QLatin1Char(' ') +
                     engagements::reasonName(c.reason);
    QTEST(found, "clashes");
}

qint64 TestClashRule::keyOf(const QString& table, int serial)
{
    const auto row = m_db->OpenRecordset(
        QStringLiteral("Select rowid from %1 where sl_no=%2").arg(table).arg(serial),
        jet::RecordsetType::Snapshot);
    return row->Fields(0).Value().toLongLong();
}

void TestClashRule::saveCheck_data()
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

void TestClashRule::saveCheck()
{
    QFETCH(QString, candidate);
    const Entry e = entry(candidate);
    engagements::SaveCandidate save{e.which, e.date, e.time, e.endDate, e.endTime, {}};
    if (e.serial > 0)
        save.ownKey = keyOf(data::tableName(e.which), e.serial);
    QStringList found;
    const QList<Entry> clashes = engagements::clashesOnSave(*m_db, save, 60);
    for (const Entry& c : clashes)
        found << nameOf(c);
    QTEST(found, "clashes");
    // The question names each of them, in Kannada digits, and every character of it can be
    // shown in Varnel.
    const QString question = engagements::texts::clashQuestion(clashes);
    QCOMPARE(question.count(QLatin1Char('\n')), clashes.size() + 1);
    QVERIFY(!question.contains(QRegularExpression(QStringLiteral("[0-9]"))));
    QVERIFY(varnel::encode(question).ok());
}

void TestClashRule::acceptedClashesAreNotAskedAgain()
{
    engagements::SaveClashCheck check(60);
    const engagements::SaveCandidate save{
        data::Register::Local, QDate(2027, 3, 1), QTime(10, 31), {}, {}, {}};
    const QList<Entry> first = check.newClashes(*m_db, save);
    QCOMPARE(first.size(), 3);
    check.accept(first.mid(0, 2));
    const QList<Entry> left = check.newClashes(*m_db, save);
    QCOMPARE(left.size(), 1);
    QCOMPARE(nameOf(left.first()), nameOf(first[2]));
    check.accept(left);
    QVERIFY(check.newClashes(*m_db, save).isEmpty());
}

QTEST_GUILESS_MAIN(TestClashRule)
#include "tst_clash_rule.moc"
