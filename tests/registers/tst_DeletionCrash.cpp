#include <csignal>

#include <QtTest>

#include "FakeRegisterView.h"
#include "RegisterFixture.h"
#include "registers/RecordEditor.h"
#include "registers/RegisterMapping.h"

// A process killed in the middle of a deletion must leave the register whole: either as it
// was, or with the record gone and the rest numbered 1..N-1. Never a gap or a repeat.
class TestDeletionCrash : public QObject {
    Q_OBJECT

private slots:
    void killedDuringRenumbering_data();
    void killedDuringRenumbering();
};

namespace {

constexpr int kRows = 20000;
const char* const kChildVariable = "VELMORA_DELETE_CHILD_DB";

// The child: deletes record 1 of the register, announcing when it starts.
int runChild(const QString& path)
{
    FakeRegisterView view;
    registers::RecordEditor editor(registers::RegisterMapping::local(), view);
    view.editor = &editor;
    editor.OpenRegister(path);
    view.answers << true;
    fputs("deleting\n", stdout);
    fflush(stdout);
    editor.ImageDelete_Click();
    fputs("done\n", stdout);
    fflush(stdout);
    return 0;
}

} // namespace

void TestDeletionCrash::killedDuringRenumbering_data()
{
    QTest::addColumn<int>("delayMs");
    for (int delay : {0, 5, 20, 60, 150})
        QTest::newRow(qPrintable(QStringLiteral("after %1 ms").arg(delay))) << delay;
}

void TestDeletionCrash::killedDuringRenumbering()
{
    QFETCH(int, delayMs);
    RegisterFixture db;
    db.create();
    db.fill("local", kRows);

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kChildVariable), db.databasePath());
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForStarted());
    while (!child.canReadLine())
        QVERIFY(child.waitForReadyRead(30000));
    QCOMPARE(child.readLine().trimmed(), QByteArray("deleting"));
    QThread::msleep(delayMs);
    ::kill(pid_t(child.processId()), SIGKILL);
    child.waitForFinished();

    const auto rows = db.rows("local");
    QVERIFY(rows.size() == kRows || rows.size() == kRows - 1);
    const int offset = rows.size() == kRows ? 1 : 2; // first topic left
    for (int i = 0; i < rows.size(); ++i) {
        QCOMPARE(rows[i].first, i + 1);
        QCOMPARE(rows[i].second, RegisterFixture::topicOf(i + offset));
    }
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QByteArray childDb = qgetenv(kChildVariable);
    if (!childDb.isEmpty())
        return runChild(QString::fromLocal8Bit(childDb));
    TestDeletionCrash test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_DeletionCrash.moc"
