#include <QFile>
#include <QtTest>

#include "SampleDiary.h"
#include "TempProgramFolder.h"
#include "export/ui/ExportMenu.h"
#include "shell/DialogScript.h"

// The search grids' menu that saves the list shown.
class TestExportMenu : public QObject {
    Q_OBJECT

private slots:
    void theGridMenuSavesTheListShown_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<bool>("intoAFolderThatIsMissing");
        QTest::addColumn<QByteArray>("begins");
        QTest::newRow("csv") << int(exports::ExportFormat::Csv) << false
                             << QStringLiteral(u"ಕ್ರಮಸಂಖ್ಯೆ,").toUtf8();
        QTest::newRow("ics") << int(exports::ExportFormat::Calendar) << false
                             << QByteArray("BEGIN:VCALENDAR\r\n");
        QTest::newRow("no such folder") << int(exports::ExportFormat::Csv) << true << QByteArray();
    }
    void theGridMenuSavesTheListShown()
    {
        QFETCH(int, format);
        QFETCH(bool, intoAFolderThatIsMissing);
        QFETCH(QByteArray, begins);
        TempProgramFolder folder;
        openSampleDiary(folder.path());
        const QString path =
            folder.filePath(intoAFolderThatIsMissing ? QStringLiteral("gone/list") : "list");
        DialogScript script;
        const bool saved = exports::saveList(
            nullptr, QStringLiteral("tour"),
            QStringLiteral("Select * from tour where travel_date_from>=datevalue('2027-01-01') "
                           "order by travel_date_from, travel_date_to"),
            exports::ExportFormat(format), path);
        QCOMPARE(saved, !intoAFolderThatIsMissing);
        QCOMPARE(script.texts.size(), intoAFolderThatIsMissing ? 1 : 0);
        QFile file(path);
        QCOMPARE(file.open(QIODevice::ReadOnly), saved);
        QVERIFY(file.readAll().startsWith(begins));
    }
};

QTEST_MAIN(TestExportMenu)
#include "tst_export_menu.moc"
