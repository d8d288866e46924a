#include <QtTest>

#include "EngagementFixture.h"
#include "reminders/ReminderRule.h"
#include "reminders/ReminderSettings.h"

using namespace reminders;

namespace {

std::int64_t at(const QString& text)
{
    return momentOf(QDateTime::fromString(text, Qt::ISODate));
}

// "NAME KIND" of each reminder: "L1 before", "T1 evening".
QString names(const QList<Reminder>& reminders)
{
    QStringList names;
    for (const Reminder& reminder : reminders)
        names << nameOf(reminder.entry) + u' ' + kindName(reminder.kind);
    return names.join(QStringLiteral(", "));
}

// "DESCRIPTION KIND" (an engagement as it was when its reminder was shown), with "again=MOMENT "
// before it for one asked to come again.
Memory memoryOf(const QStringList& items)
{
    Memory memory;
    for (QString item : items) {
        std::optional<std::int64_t> again;
        if (item.startsWith(QLatin1String("again="))) {
            again = at(item.section(u' ', 0, 0).mid(6));
            item = item.section(u' ', 1);
        }
        const Kind kind = item.endsWith(QLatin1String("evening")) ? Kind::Evening : Kind::Before;
        const QString key = Reminder{entry(item.section(u' ', 0, -2)), kind, 0, 0}.key();
        memory.shown.insert(key);
        if (again)
            memory.again.insert(key, *again);
    }
    return memory;
}

} // namespace

class TestReminderRule : public QObject {
    Q_OBJECT
private slots:
    void rule_data();
    void rule();
    void begun();
    void settings_data();
    void settings();
};

void TestReminderRule::rule_data()
{
    QTest::addColumn<int>("minutes");
    QTest::addColumn<QString>("evening");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("memory");
    QTest::addColumn<QString>("now");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("next");

    const QStringList l1{"L1 2027-03-01 10:00"};
    const QStringList t1{"T1 2027-03-02 08:00 2027-03-04 20:00"};
    // clang-format off
    QTest::newRow("a second before the window") << 30 << "18:00" << l1 << QStringList()
        << "2027-03-01T09:29:59" << "" << "2027-03-01T09:30:00";
    QTest::newRow("window opens") << 30 << "18:00" << l1 << QStringList()
        << "2027-03-01T09:30:00" << "L1 before" << "";
    QTest::newRow("last second") << 30 << "18:00" << l1 << QStringList()
        << "2027-03-01T09:59:59" << "L1 before" << "";
    QTest::newRow("begun: never") << 30 << "18:00" << l1 << QStringList()
        << "2027-03-01T10:00:00" << "" << "";
    QTest::newRow("shown before a restart") << 30 << "18:00" << l1
        << QStringList{"L1 2027-03-01 10:00 before"} << "2027-03-01T09:45:00" << "" << "";
    QTest::newRow("time changed: new") << 30 << "18:00" << QStringList{"L1 2027-03-01 10:30"}
        << QStringList{"L1 2027-03-01 10:00 before"} << "2027-03-01T10:05:00" << "L1 before" << "";
    QTest::newRow("date changed: new") << 30 << "18:00" << QStringList{"L1 2027-03-02 10:00"}
        << QStringList{"L1 2027-03-01 10:00 before"} << "2027-03-02T09:31:00" << "L1 before" << "";
    QTest::newRow("across midnight") << 30 << "18:00" << QStringList{"O1 2027-03-02 00:10"}
        << QStringList() << "2027-03-01T23:40:00" << "O1 before" << "";
    QTest::newRow("across midnight, not yet") << 30 << "18:00" << QStringList{"O1 2027-03-02 00:10"}
        << QStringList() << "2027-03-01T23:39:00" << "" << "2027-03-01T23:40:00";
    QTest::newRow("in order of falling due") << 30 << "18:00"
        << QStringList{"L1 2027-03-01 10:00", "O1 2027-03-01 09:45"} << QStringList()
        << "2027-03-01T09:40:00" << "O1 before, L1 before" << "";
    QTest::newRow("no minutes: never") << 0 << "18:00" << l1 << QStringList()
        << "2027-03-01T09:59:00" << "" << "";
    QTest::newRow("tour: the evening before") << 30 << "18:00" << t1 << QStringList()
        << "2027-03-01T18:00:00" << "T1 evening" << "2027-03-02T07:30:00";
    QTest::newRow("tour: before the evening") << 30 << "18:30" << t1 << QStringList()
        << "2027-03-01T18:00:00" << "" << "2027-03-01T18:30:00";
    QTest::newRow("tour: evening shown, then departure") << 30 << "18:00" << t1
        << QStringList{"T1 2027-03-02 08:00 2027-03-04 20:00 evening"}
        << "2027-03-02T07:30:00" << "T1 before" << "";
    QTest::newRow("tour: computer off over the evening") << 30 << "18:00" << t1 << QStringList()
        << "2027-03-02T06:00:00" << "T1 evening" << "2027-03-02T07:30:00";
    QTest::newRow("tour: departure's reminder takes over") << 30 << "18:00" << t1 << QStringList()
        << "2027-03-02T07:45:00" << "T1 before" << "";
    QTest::newRow("tour: evening off") << 30 << "" << t1 << QStringList()
        << "2027-03-01T18:00:00" << "" << "2027-03-02T07:30:00";
    QTest::newRow("tour: minutes reach past the evening") << 900 << "18:00" << t1 << QStringList()
        << "2027-03-01T18:00:00" << "T1 before" << "";
    QTest::newRow("again: its moment") << 30 << "18:00" << l1
        << QStringList{"again=2027-03-01T09:50:00 L1 2027-03-01 10:00 before"}
        << "2027-03-01T09:50:00" << "L1 before" << "";
    QTest::newRow("again: not yet") << 30 << "18:00" << l1
        << QStringList{"again=2027-03-01T09:50:00 L1 2027-03-01 10:00 before"}
        << "2027-03-01T09:45:00" << "" << "2027-03-01T09:50:00";
    QTest::newRow("again: slept past it") << 30 << "18:00" << l1
        << QStringList{"again=2027-03-01T09:50:00 L1 2027-03-01 10:00 before"}
        << "2027-03-01T10:00:00" << "" << "";
    // clang-format on
}

void TestReminderRule::rule()
{
    QFETCH(int, minutes);
    QFETCH(QString, evening);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, memory);
    QFETCH(QString, now);
    QFETCH(QString, shown);
    QFETCH(QString, next);

    Settings settings;
    settings.minutesBefore = minutes;
    if (evening.isEmpty())
        settings.tourEvening.reset();
    else
        settings.tourEvening = QTime::fromString(evening, QStringLiteral("HH:mm"));
    QList<engagements::Entry> read;
    for (const QString& description : entries)
        read << entry(description);
    const QList<Reminder> reminders = remindersOf(read, settings);
    QCOMPARE(names(toShow(reminders, at(now), memoryOf(memory))), shown);
    const auto moment = nextMoment(reminders, at(now), memoryOf(memory));
    QCOMPARE(moment ? dateTimeOf(*moment).toString(Qt::ISODate) : QString(), next);
}

// What began while the computer was off: only since the last run, only unreminded ones.
void TestReminderRule::begun()
{
    const QStringList entries{"L1 2027-03-01 07:00", "L2 2027-03-01 10:00",
                              "O1 2027-03-01 11:00", "T1 2027-03-01 12:00 2027-03-02 12:00",
                              "L3 2027-03-01 14:00", "L4 2027-03-01 09:00"};
    QList<engagements::Entry> read;
    for (const QString& description : entries)
        read << entry(description);
    const Memory memory =
        memoryOf({"O1 2027-03-01 11:00 before", "T1 2027-03-01 12:00 2027-03-02 12:00 evening"});
    const auto begun =
        begunUnreminded(remindersOf(read, Settings()), at(QStringLiteral("2027-03-01T08:00:00")),
                        at(QStringLiteral("2027-03-01T13:00:00")), memory);
    QStringList names;
    for (const engagements::Entry& e : begun)
        names << nameOf(e);
    QCOMPARE(names, (QStringList{"L4", "L2"}));
}

void TestReminderRule::settings_data()
{
    QTest::addColumn<QVariant>("enabled");
    QTest::addColumn<QVariant>("minutes");
    QTest::addColumn<QVariant>("evening");
    QTest::addColumn<QString>("expected"); // enabled, minutes, evening
    QTest::newRow("defaults") << QVariant() << QVariant() << QVariant() << "1 30 18:00";
    QTest::newRow("as set") << QVariant("false") << QVariant("45") << QVariant("19:30")
                            << "0 45 19:30";
    QTest::newRow("evening empty: off") << QVariant() << QVariant() << QVariant("") << "1 30 ";
    QTest::newRow("unreadable: defaults")
        << QVariant() << QVariant("-5") << QVariant("evening") << "1 30 18:00";
}

void TestReminderRule::settings()
{
    QFETCH(QVariant, enabled);
    QFETCH(QVariant, minutes);
    QFETCH(QVariant, evening);
    QFETCH(QString, expected);
    const Settings s = settingsFrom(enabled, minutes, evening);
    QCOMPARE(QStringLiteral("%1 %2 %3")
                 .arg(int(s.enabled))
                 .arg(s.minutesBefore)
                 .arg(s.tourEvening ? s.tourEvening->toString(QStringLiteral("HH:mm")) : QString()),
             expected);
}

QTEST_GUILESS_MAIN(TestReminderRule)
#include "tst_reminder_rule.moc"
