#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "CliWriteTable.h"

// velmora-cli add, change and delete on a diary file: serials, day names, clashes, kept
// deletions and the exit contract; a run that writes nothing makes no diary.
class TestCliWrite : public QObject {
    Q_OBJECT

private slots:
    void steps_data() { cliWriteRows(); }
    void steps()
    {
        QFETCH(QStringList, steps);
        QTemporaryDir folder;
        const QString diary = folder.filePath(QStringLiteral("Tarnalist.mdb"));
        runCliWriteSteps(steps, {QStringLiteral("--diary"), diary});
        if (!steps.join(QString()).contains(QLatin1String(" => 0")))
            QVERIFY(!QFile::exists(diary));
    }
};

QTEST_GUILESS_MAIN(TestCliWrite)
#include "tst_cli_write.moc"
