#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "CliWriteTable.h"

// velmora-cli add, change and delete on a diary file: serials, day names, clashes, kept
// deletions and the exit contract; a run that writes nothing makes no diary. Run in process.
class TestCliWrite : public QObject {
    Q_OBJECT

    QTemporaryDir m_config;

private slots:
    // The clash rule's setting as it comes, read from here for the whole process.
    void initTestCase() { qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path())); }
    void steps_data() { cliWriteRows(); }
    void steps()
    {
        QFETCH(QStringList, steps);
        QTemporaryDir folder;
        const QString diary = folder.filePath(QStringLiteral("Tarnalist.mdb"));
        runCliWriteSteps(steps, {QStringLiteral("--diary"), diary}, runCliInProcess);
        if (!steps.join(QString()).contains(QLatin1String(" => 0")))
            QVERIFY(!QFile::exists(diary));
    }
};

QTEST_GUILESS_MAIN(TestCliWrite)
#include "tst_cli_write.moc"
