#include <memory>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include "SampleDiary.h"
#include "TempProgramFolder.h"
#include "platform/jet/Database.h"
#include "platform/report/PdfReportWriter.h"
#include "platform/report/ReportError.h"
#include "platform/report/ReportRun.h"
#include "platform/report/ReportTemplate.h"
#include "platform/report/StagingTable.h"
#include "platform/varnel/KannadaDigits.h"
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

// A small page (A5 upright), so a few rows fill it: serial, topic, others.
const char* const kSmallPage = R"({
  "velmora-report": 1, "table": "t",
  "page": {"size": "A5", "orientation": "portrait", "margin-mm": 10},
  "title": "ಪಟ್ಟಿ", "footer": "{page}/{pages}",
  "columns": [
    {"heading": "ಕ್ರಮ", "fields": ["sl_no"], "width": 1},
    {"heading": "ವಿಷಯ", "fields": ["topic"], "width": 4},
    {"heading": "ಇತರ", "fields": ["others"], "width": 3}]})";

// `count` distinct words "ಪದN" (N in Kannada digits, zero-padded, so no word is part of
// another); the row number keeps rows apart.
QString words(int row, int count)
{
    QStringList out;
    for (int i = 0; i < count; ++i)
        out << varnel::kannadaDigits(
            QStringLiteral(u"ಪದ%1").arg(row * 10000 + i, 6, 10, QLatin1Char('0')));
    return out.join(QLatin1Char(' '));
}

// Rows of (topic words, others words); the serial number is the row's place.
using RowWords = QList<QPair<int, int>>;

} // namespace

Q_DECLARE_METATYPE(RowWords)

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
    void pagesBreakWithoutLosingText_data();
    void pagesBreakWithoutLosingText();
    void missingFontFallsBackAndIsSaidOnce_data();
    void missingFontFallsBackAndIsSaidOnce();
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

void TestReportEngine::pagesBreakWithoutLosingText_data()
{
    QTest::addColumn<RowWords>("rows");
    QTest::addColumn<int>("pages");    // 0: more than one, as the text needs
    QTest::addColumn<int>("splitRow"); // the row that must run over pages, -1 for none
    QTest::newRow("short rows") << RowWords{{2, 1}, {3, 0}, {1, 2}} << 1 << -1;
    // Rows of several lines: those that do not fit what is left move to the next page whole.
    RowWords tall;
    for (int i = 0; i < 30; ++i)
        tall << qMakePair(18 + i % 7, i % 3 * 5);
    QTest::newRow("rows that do not fit what is left") << tall << 0 << -1;
    QTest::newRow("a row taller than a page") << RowWords{{3, 3}, {330, 40}, {4, 2}} << 0 << 1;
    // About 10,000 characters beside a long cell of other lines: both run on together.
    QTest::newRow("a cell of 10,000 characters")
        << RowWords{{5, 1}, {1430, 420}, {2, 2}, {2, 2}} << 0 << 1;
    QTest::newRow("an empty register") << RowWords{} << 1 << -1;
}

// Each word is a distinct mark: it must come back exactly once (nothing lost, no line printed
// twice where a row runs over a page), every row that fits a page on one page, a row taller
// than a page in order over the pages, the heading row and the right footer on every page.
void TestReportEngine::pagesBreakWithoutLosingText()
{
    QFETCH(RowWords, rows);
    QFETCH(int, pages);
    QFETCH(int, splitRow);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    const report::ReportTemplate layout =
        report::parseReportTemplate(kSmallPage, QStringLiteral("small.rpt"));
    report::StagingTable table{
        {QStringLiteral("sl_no"), QStringLiteral("topic"), QStringLiteral("others")}, {}};
    for (int r = 0; r < rows.size(); ++r)
        table.rows.push_back(
            {r + 1, words(2 * r, rows[r].first), words(2 * r + 1, rows[r].second)});
    report::TableRows source(table);
    QByteArray pdf;
    const report::PdfOutcome out =
        report::writeReportPdf(layout, source, [&pdf](const char* data, size_t size) {
            pdf.append(data, qsizetype(size));
        });
    QCOMPARE(out.rows, rows.size());
    QTemporaryDir dir;
    const QStringList pageTexts = pdfText(pdf, dir.path()).split(QLatin1Char('\f'));
    QCOMPARE(pageTexts.size() - 1, out.pages); // the text ends with a form feed
    if (pages > 0)
        QCOMPARE(out.pages, pages);
    else
        QVERIFY(out.pages > 1);

    QHash<QString, QList<int>> pagesOf; // each word, on the pages it came out on
    for (int p = 0; p < out.pages; ++p) {
        const QString& text = pageTexts[p];
        QVERIFY2(text.contains(QStringLiteral(u"ವಿಷಯ")), qPrintable(QString::number(p)));
        const QString footer =
            varnel::kannadaDigits(QStringLiteral("%1/%2").arg(p + 1).arg(out.pages));
        QVERIFY2(text.contains(footer), qPrintable(footer));
        for (const QString& word :
             text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
            pagesOf[word] << p;
    }
    for (int r = 0; r < rows.size(); ++r) {
        QSet<int> rowPages;
        for (int cell = 0; cell < 2; ++cell) {
            const QString text = words(2 * r + cell, cell == 0 ? rows[r].first : rows[r].second);
            int previous = 0;
            for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
                QCOMPARE(pagesOf.value(word).size(), 1);
                const int page = pagesOf.value(word).first();
                QVERIFY(page >= previous); // a cell's lines run on in order
                previous = page;
                rowPages << page;
            }
        }
        QCOMPARE(rowPages.size() > 1, r == splitRow);
    }
}

void TestReportEngine::missingFontFallsBackAndIsSaidOnce_data()
{
    QTest::addColumn<QString>("titleFont");
    QTest::addColumn<QString>("bodyFont");
    QTest::addColumn<QStringList>("named"); // in the one note; none when empty
    QTest::newRow("installed") << "Noto Sans Kannada Bold 16"
                               << "Noto Sans Kannada 9" << QStringList{};
    QTest::newRow("a list with an installed family") << "Nowhere Serif, Lohit Kannada Bold 16"
                                                     << "Gubbi 9" << QStringList{};
    QTest::newRow("one unknown family") << "Noto Sans Kannada Bold 16"
                                        << "Nowhere Sans 9" << QStringList{"Nowhere Sans"};
    QTest::newRow("two unknown families, one note")
        << "Nowhere Serif Bold 16"
        << "Nowhere Sans 9" << QStringList{"Nowhere Serif", "Nowhere Sans"};
}

// A font the template names but the desk lacks: the text still comes out in an installed
// Kannada font (no boxes, no empty page), and the run says so once, naming the font.
void TestReportEngine::missingFontFallsBackAndIsSaidOnce()
{
    QFETCH(QString, titleFont);
    QFETCH(QString, bodyFont);
    QFETCH(QStringList, named);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    QByteArray json(kSmallPage);
    json.replace("\"title\": \"ಪಟ್ಟಿ\"",
                 QStringLiteral("\"fonts\": {\"title\": \"%1\", \"body\": \"%2\"}, "
                                "\"title\": \"ಪಟ್ಟಿ\"")
                     .arg(titleFont, bodyFont)
                     .toUtf8());
    const report::ReportTemplate layout =
        report::parseReportTemplate(json, QStringLiteral("fonts.rpt"));
    QCOMPARE(layout.bodyFont, bodyFont);
    report::StagingTable table{
        {QStringLiteral("sl_no"), QStringLiteral("topic"), QStringLiteral("others")},
        {{1, QStringLiteral(u"ಕನ್ನಡ ರಾಜ್ಯೋತ್ಸವ"), QString()}}};
    report::TableRows source(table);
    QByteArray pdf;
    const report::PdfOutcome out =
        report::writeReportPdf(layout, source, [&pdf](const char* data, size_t size) {
            pdf.append(data, qsizetype(size));
        });
    QCOMPARE(out.notes.size(), named.isEmpty() ? 0 : 1);
    for (const QString& font : named)
        QVERIFY2(out.notes.first().contains(font), qPrintable(out.notes.first()));
    QTemporaryDir dir;
    const QString text = pdfText(pdf, dir.path()).simplified();
    for (const QString& word : {QStringLiteral(u"ಪಟ್ಟಿ"), QStringLiteral(u"ರಾಜ್ಯೋತ್ಸವ")})
        QVERIFY2(text.contains(word), qPrintable(text));
    QVERIFY(!pdf.contains("Nowhere"));
}

QTEST_GUILESS_MAIN(TestReportEngine)
#include "tst_ReportEngine.moc"
