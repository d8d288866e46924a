// velmora-cli deleted as a script sees it: the kept deletions as CSV, and one brought back, each
// case with its exit status and the register afterwards.
#include <sqlite3.h>

#include <QProcess>
#include <QtTest>

#include "FakeRegisterView.h"
#include "RegisterFixture.h"
#include "registers/RecordEditor.h"
#include "registers/RegisterMapping.h"

class TestDeletedCommand : public QObject {
    Q_OBJECT
private slots:
    void deleted_data();
    void deleted();
};

void TestDeletedCommand::deleted_data()
{
    QTest::addColumn<int>("records"); // local records before the two deletions
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("output"); // the lines' first four fields
    QTest::addColumn<QList<int>>("topics");  // the register afterwards, in serial order
    const QStringList none;
    const QList<int> left{1, 3, 4};
    const QString header = QStringLiteral(u"ಅಳಿಸುವಿಕೆ,ಅಳಿಸಿದ ಸಮಯ,ಕ್ರಮಸಂಖ್ಯೆ,ದಿನಾಂಕ");
    QTest::newRow("list, newest first") << 5 << "list local" << 0
                                        << QStringList{header, "2,2026-12-07 21:05:42,4,2027-01-01",
                                                       "1,2026-12-07 21:05:42,2,2027-01-01"}
                                        << left;
    QTest::newRow("a register without deletions") << 5 << "list tour" << 1 << none << left;
    QTest::newRow("restore at its number")
        << 5 << "restore local 1" << 0 << none << QList<int>{1, 2, 3, 4};
    QTest::newRow("restore after the last")
        << 5 << "restore local 2" << 0 << none << QList<int>{1, 3, 4, 5};
    QTest::newRow("no such deletion") << 5 << "restore local 9" << 2 << none << left;
    QTest::newRow("another register's deletion") << 5 << "restore tour 1" << 2 << none << left;
    QTest::newRow("not a number") << 5 << "restore local one" << 2 << none << left;
    QTest::newRow("no such action") << 5 << "undelete local 1" << 2 << none << left;
    QTest::newRow("busy") << 5 << "restore local 1" << 3 << none << left;
    QTest::newRow("full") << registers::RecordEditor::kMaximumRecords + 2 << "restore local 1" << 3
                          << none << QList<int>{};
}

void TestDeletedCommand::deleted()
{
    QFETCH(int, records);
    QFETCH(QString, arguments);
    QFETCH(int, exitCode);
    QFETCH(QStringList, output);
    QFETCH(QList<int>, topics);
    RegisterFixture db;
    db.create();
    db.fill(QStringLiteral("local"), records);
    {
        FakeRegisterView view;
        registers::RecordEditor editor(registers::RegisterMapping::local(), view);
        view.editor = &editor;
        editor.setClock([] { return QDateTime(QDate(2026, 12, 7), QTime(21, 5, 42)); });
        editor.OpenRegister(db.databasePath());
        for (int serial : {2, 4}) {
            view.scrollTo(serial);
            view.answers << true;
            editor.ImageDelete_Click();
        }
    }
    sqlite3* other = nullptr; // a program in the middle of a write
    if (QTest::currentDataTag() == QLatin1String("busy")) {
        sqlite3_open(db.databasePath().toUtf8().constData(), &other);
        QCOMPARE(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    }
    const QList<QPair<int, QByteArray>> before = db.rows(QStringLiteral("local"));
    QProcess cli;
    cli.start(QStringLiteral(VELMORA_CLI),
              QStringList{QStringLiteral("deleted")} + arguments.split(QLatin1Char(' ')) +
                  QStringList{QStringLiteral("--diary"), db.databasePath()});
    QVERIFY(cli.waitForFinished(60000));
    sqlite3_close(other);

    QCOMPARE(cli.exitCode(), exitCode);
    QStringList lines;
    for (const QString& line : QString::fromUtf8(cli.readAllStandardOutput()).split('\n'))
        lines << line.section(QLatin1Char(','), 0, 3);
    if (!output.isEmpty())
        QCOMPARE(lines.mid(0, output.size()), output);
    QCOMPARE(cli.readAllStandardError().isEmpty(), exitCode < 2);
    QList<QPair<int, QByteArray>> expected;
    for (int i = 0; i < topics.size(); ++i)
        expected.append({i + 1, RegisterFixture::topicOf(topics[i])});
    QCOMPARE(db.rows(QStringLiteral("local")), topics.isEmpty() ? before : expected);
}

QTEST_GUILESS_MAIN(TestDeletedCommand)
#include "tst_DeletedCommand.moc"
