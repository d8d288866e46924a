#include <memory>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include "SampleDiary.h"
#include "TempProgramFolder.h"
#include "platform/jet/Database.h"
#include "platform/report/ReportError.h"
#include "platform/report/ReportRun.h"
#include "platform/report/ReportTemplate.h"
#include "platform/report/StagingTable.h"
#include "platform/varnel/VarnelCodec.h"
#include "reports/ReportRegister.h"
#include "reports/Stager.h"

using reports::ReportRegister;

namespace {

QString resource(const QString& name)
{
    return QStringLiteral(VELMORA_RESOURCES_DIR "/") + name;
}

// The text pdftotext takes out of a PDF; pages are separated by form feeds.
QString pdfText(const QByteArray& pdf, const QString& folder)
{
    const QString path = folder + QStringLiteral("/report.pdf");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size())
        return {};
    file.close();
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

// The report engine: templates read and checked, staging rows laid out as a PDF whose text
// (Kannada words, dates, page numbers) a reader can take back out.
class TestReportEngine : public QObject {
    Q_OBJECT

private slots:
    void badTemplatesAreRefused_data();
    void badTemplatesAreRefused();
    void missingTemplateIsNamed();
    void reportTextComesBackWhole_data();
    void reportTextComesBackWhole();
};

void TestReportEngine::badTemplatesAreRefused_data()
{
    QFile file(resource(QStringLiteral("rptlocal.rpt")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray good = file.readAll();
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("says");
    QTest::newRow("not JSON") << QByteArray("{\n\"table\": \"temp_local\",\n}") << "line 3";
    QTest::newRow("no version") << QByteArray(good).replace("\"velmora-report\": 1,", "")
                                << "velmora-report";
    QTest::newRow("misspelt key") << QByteArray(good).replace("\"columns\"", "\"colums\"")
                                  << "colums";
    QTest::newRow("table not a name")
        << QByteArray(good).replace("\"temp_local\"", "\"temp_local; drop\"") << "table";
    QTest::newRow("no columns") << QByteArray("{\"velmora-report\": 1, \"table\": \"t\"}")
                                << "columns";
    QTest::newRow("zero width") << QByteArray(good).replace("\"width\": 5", "\"width\": 0")
                                << "width";
    QTest::newRow("unknown alignment")
        << QByteArray(good).replace("\"align\": \"center\"", "\"align\": \"middle\"") << "align";
    QTest::newRow("unknown paper") << QByteArray(good).replace("\"A4\"", "\"B9\"") << "B9";
    QTest::newRow("margins eat the page")
        << QByteArray(good).replace("\"margin-mm\": 12", "\"margin-mm\": 90") << "margin-mm";
}

void TestReportEngine::badTemplatesAreRefused()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, says);
    try {
        report::parseReportTemplate(json, QStringLiteral("rptlocal.rpt"));
        QFAIL("a bad template was accepted");
    } catch (const report::ReportError& e) {
        QVERIFY2(e.text().contains(QStringLiteral("rptlocal.rpt")), qPrintable(e.text()));
        QVERIFY2(e.text().contains(says), qPrintable(e.text()));
    }
}

// A missing template, and a template whose diary is missing, are named; no diary is made.
void TestReportEngine::missingTemplateIsNamed()
{
    TempProgramFolder folder;
    for (int step = 0; step < 2; ++step) {
        try {
            report::runReport(folder.path() + QStringLiteral("\\rptlocal.rpt"),
                              reports::stagedDiaryOpener(nullptr));
            QFAIL("the report ran");
        } catch (const report::ReportError& e) {
            QVERIFY(e.text().contains(QStringLiteral("rptlocal.rpt")));
            QCOMPARE(e.text().contains(QStringLiteral("tarnalist.mdb")), step == 1);
        }
        QFile::copy(resource(QStringLiteral("rptlocal.rpt")),
                    folder.filePath(QStringLiteral("rptlocal.rpt")));
    }
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("Tarnalist.mdb"))));
}

void TestReportEngine::reportTextComesBackWhole_data()
{
    QTest::addColumn<const ReportRegister*>("reg");
    QTest::addColumn<QDate>("first");
    QTest::addColumn<QDate>("last");
    QTest::addColumn<QStringList>("expected"); // besides every staged text
    QTest::newRow("local, the whole sample")
        << &ReportRegister::local() << QDate(2026, 12, 1) << QDate(2027, 3, 31)
        << QStringList{QStringLiteral(u"ಸ್ಥಳೀಯ ಕಾರ್ಯಕ್ರಮಗಳ ಪಟ್ಟಿ"),
                       QStringLiteral(u"೦೧/೧೨/೨೦೨೬ ರಿಂದ ೩೧/೦೩/೨೦೨೭ ರವರೆಗೆ"),
                       QStringLiteral(u"ಒಟ್ಟು ೫ ಪುಟಗಳಲ್ಲಿ ಪುಟ ೫")};
    QTest::newRow("tours, one week")
        << &ReportRegister::tour() << QDate(2027, 1, 1) << QDate(2027, 1, 7)
        << QStringList{QStringLiteral(u"ಪ್ರವಾಸಗಳ ಪಟ್ಟಿ"), QStringLiteral(u"ಒಟ್ಟು ೧ ಪುಟಗಳಲ್ಲಿ ಪುಟ ೧")};
}

// Every word of every staged text must come back out of the PDF, conjuncts and all: the
// office searches and copies from these files.
void TestReportEngine::reportTextComesBackWhole()
{
    QFETCH(const ReportRegister*, reg);
    QFETCH(QDate, first);
    QFETCH(QDate, last);
    QFETCH(QStringList, expected);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    TempProgramFolder folder;
    QVERIFY(QFile::copy(resource(reg->templateName), folder.filePath(reg->templateName)));
    std::shared_ptr<jet::Database> db = openSampleDiary(folder.path());
    QVERIFY(reports::stageRange(*db, *reg, first, last) > 0);
    const report::StagingTable staged = report::readStagingTable(*db, reg->stagingTable);

    // As the windows name it: a backslash, the name in another letter case.
    const report::RenderedReport out =
        report::runReport(folder.path() + QLatin1Char('\\') + reg->templateName.toUpper(),
                          reports::stagedDiaryOpener(db));
    QCOMPARE(out.rows, int(staged.rows.size()));
    const QString text = pdfText(out.pdf, folder.path());
    QCOMPARE(text.count(QLatin1Char('\f')), out.pages);
    QVERIFY(out.pdf.contains("/MediaBox [ 0 0 841.889764 595.275591 ]")); // landscape A4
    const QString flat = text.simplified();
    for (const QString& phrase : expected)
        QVERIFY2(flat.contains(phrase), qPrintable(phrase));
    // The heading row stands on every page.
    QCOMPARE(text.count(QStringLiteral(u"ಇತರ ವಿವರಗಳು")), out.pages);

    const QStringList extracted = flat.split(QLatin1Char(' '));
    const QSet<QString> words(extracted.begin(), extracted.end());
    for (const std::vector<QVariant>& row : staged.rows) {
        for (const QVariant& value : row) {
            if (value.typeId() != QMetaType::QByteArray)
                continue;
            for (const QString& word :
                 varnel::decode(value.toByteArray()).split(QLatin1Char(' '), Qt::SkipEmptyParts))
                QVERIFY2(words.contains(word), qPrintable(word));
        }
    }
}

QTEST_GUILESS_MAIN(TestReportEngine)
#include "tst_ReportEngine.moc"
