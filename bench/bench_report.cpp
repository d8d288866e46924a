// The reports: staging a full register against raw INSERT ... SELECT in one transaction, and
// reports of 1,000 rows and of a full register written to PDF files against the same text laid
// out and shown with Pango on cairo alone.
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <vector>

#include <cairo-pdf.h>
#include <pango/pangocairo.h>
#include <sqlite3.h>

#include <QByteArray>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTime>

#include "Bench.h"
#include "RawSqlite.h"
#include "data/DayName.h"
#include "data/DiaryDatabase.h"
#include "platform/jet/Database.h"
#include "platform/files/SafeOutput.h"
#include "platform/jet/StorageText.h"
#include "platform/report/ReportRun.h"
#include "platform/report/ReportTemplate.h"
#include "platform/report/StagingTable.h"
#include "reports/ReportRegister.h"
#include "reports/Stager.h"

namespace {

constexpr int kRecords = 32767;
const QDate kFirst(2024, 1, 1);

// A diary whose local register holds `records` programmes, one or two a day from kFirst.
struct ReportDiary {
    QTemporaryDir dir;
    QString path;

    explicit ReportDiary(int records) : path(dir.path() + QStringLiteral("/Tarnalist.mdb"))
    {
        data::OpenDiaryDatabase(path);
        RawConnection raw(path);
        Statement insert(raw.db,
                         "INSERT INTO local VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
        const QByteArray topic(
            "\xA5\xC0\xC4\xB8\xC0\xDB\x50\xC0 \xA9\x71\xC0\xC4\x55\xC0\x71\xC0\xC9 ");
        const QByteArray venue("\xA5\xC0\xC4\x67\xC0\xA8\xC0\xAA\xC0\xA3\xC0, "
                               "\xA8\xC9\x41\x55\xC0\xBC\xC0\xC6\x67\xC0\xC4");
        raw.exec("BEGIN");
        for (int serial = 1; serial <= records; ++serial) {
            const QDate date = kFirst.addDays(serial / 2);
            const QByteArray columns[9] = {
                date.toString(Qt::ISODate).toLatin1(),
                jet::storageFromBytes(data::DayName(date)),
                QTime(serial % 24, serial % 60, 30).toString(QStringLiteral("HH:mm:ss")).toLatin1(),
                jet::storageFromBytes(topic + QByteArray::number(serial)),
                jet::storageFromBytes(venue),
                jet::storageFromBytes(venue + " " + topic),
                QByteArray::number(8000000 + serial),
                jet::storageFromBytes(topic),
                QByteArray(),
            };
            sqlite3_bind_int(insert.stmt, 1, serial);
            for (int c = 0; c < 9; ++c)
                sqlite3_bind_text(insert.stmt, c + 2, columns[c].constData(),
                                  int(columns[c].size()), SQLITE_TRANSIENT);
            check(sqlite3_step(insert.stmt), raw.db);
            sqlite3_reset(insert.stmt);
        }
        raw.exec("COMMIT");
    }

    QDate lastDay(int records) const { return kFirst.addDays(records / 2); }
};

const BenchRegistration stageAll("stage-all", [] {
    ReportDiary diary(kRecords);
    const QDate last = diary.lastDay(kRecords);
    const double ours = benchMs([&] {
        auto db = data::OpenDiaryDatabase(diary.path);
        if (reports::stageRange(*db, reports::ReportRegister::local(), kFirst, last) != kRecords)
            throw std::runtime_error("not every record was staged");
    });
    const QByteArray from = kFirst.toString(Qt::ISODate).toLatin1();
    const QByteArray to = last.toString(Qt::ISODate).toLatin1();
    const QByteArray copy =
        "BEGIN IMMEDIATE; DELETE FROM temp_local; "
        "INSERT INTO temp_local SELECT sl_no, tarna_date, day_name, substr(tarna_time, 1, 5), "
        "topic, venue, address, telephone, contact_person, others, '" +
        from + "', '" + to + "' FROM local WHERE tarna_date >= '" + from + "' AND tarna_date <= '" +
        to + "' ORDER BY tarna_date; COMMIT;";
    const double raw = benchMs([&] {
        RawConnection c(diary.path);
        c.exec(copy.constData());
    });
    return BenchResult{ours, raw};
});

// The report's text work and nothing else: each cell's text, as the report shows it, laid out
// once with Pango (same font, width, wrapping and alignment) and shown on a cairo PDF surface
// written to a file, a page ended after as many rows as the report puts on one. The texts are
// made beforehand, untimed.
class TextBaseline {
public:
    TextBaseline(const report::ReportTemplate& layout, jet::Database& db) : m_layout(layout)
    {
        const report::StagingTable table = report::readStagingTable(db, layout.table);
        double total = 0;
        for (const report::ReportColumn& c : layout.columns)
            total += c.width;
        const double width = layout.pageSize.width() - 2 * layout.margin;
        double x = layout.margin;
        for (const report::ReportColumn& c : layout.columns) {
            m_xs.push_back(x + 3);
            m_widths.push_back(width * c.width / total - 6);
            x += width * c.width / total;
        }
        for (const std::vector<QVariant>& row : table.rows) {
            for (const report::ReportColumn& c : layout.columns) {
                QStringList lines;
                for (const QString& field : c.fields) {
                    const QString text = report::cellText(row[size_t(table.column(field))],
                                                          layout.dateFormat, layout.kannadaDigits);
                    if (!text.isEmpty())
                        lines << text;
                }
                m_texts.push_back(lines.join(QLatin1Char('\n')).toUtf8());
            }
        }
    }

    int rows() const { return int(m_texts.size() / m_widths.size()); }

    void write(const QString& path, int rowsPerPage) const
    {
        cairo_surface_t* surface = cairo_pdf_surface_create(
            path.toUtf8().constData(), m_layout.pageSize.width(), m_layout.pageSize.height());
        cairo_t* cr = cairo_create(surface);
        PangoContext* context = pango_cairo_create_context(cr);
        pango_cairo_context_set_resolution(context, 72);
        pango_context_set_round_glyph_positions(context, FALSE);
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
        pango_cairo_context_set_font_options(context, options);
        cairo_font_options_destroy(options);
        PangoFontDescription* font =
            pango_font_description_from_string(m_layout.bodyFont.toUtf8().constData());
        const size_t columns = m_widths.size();
        const double rowHeight = (m_layout.pageSize.height() - 2 * m_layout.margin) / rowsPerPage;
        for (size_t i = 0; i < m_texts.size(); ++i) {
            const size_t row = i / columns, column = i % columns;
            if (column == 0 && row > 0 && row % size_t(rowsPerPage) == 0)
                cairo_show_page(cr);
            PangoLayout* text = pango_layout_new(context);
            pango_layout_set_font_description(text, font);
            pango_layout_set_width(text, pango_units_from_double(m_widths[column]));
            pango_layout_set_wrap(text, PANGO_WRAP_WORD_CHAR);
            pango_layout_set_text(text, m_texts[i].constData(), int(m_texts[i].size()));
            cairo_move_to(cr, m_xs[column],
                          m_layout.margin + double(row % size_t(rowsPerPage)) * rowHeight);
            pango_cairo_show_layout(cr, text);
            g_object_unref(text);
        }
        pango_font_description_free(font);
        g_object_unref(context);
        cairo_destroy(cr);
        cairo_surface_finish(surface);
        const cairo_status_t status = cairo_surface_status(surface);
        cairo_surface_destroy(surface);
        if (status != CAIRO_STATUS_SUCCESS)
            throw std::runtime_error(cairo_status_to_string(status));
    }

private:
    const report::ReportTemplate& m_layout;
    std::vector<double> m_xs, m_widths; // each column's text
    std::vector<QByteArray> m_texts;    // UTF-8, row by row, column by column
};

// The local register's report of `rows` rows written to a PDF file as velmora-cli writes it,
// against the text baseline on the same rows.
BenchResult reportToFile(int rows)
{
    ReportDiary diary(rows);
    // The template as shipped, found from this file's place in the source tree.
    const QString templatePath = QFileInfo(QStringLiteral(__FILE__))
                                     .dir()
                                     .filePath(QStringLiteral("../resources/rptlocal.rpt"));
    const report::ReportTemplate layout = report::readReportTemplate(templatePath);
    auto db = data::OpenDiaryDatabase(diary.path);
    reports::stageRange(*db, reports::ReportRegister::local(), kFirst, diary.lastDay(rows));
    const QString ourFile = diary.dir.filePath(QStringLiteral("ours.pdf"));
    int pages = 0;
    const double ours = benchMs([&] {
        files::SafeOutput output(ourFile);
        const report::ReportSummary r =
            report::writeReport(templatePath, reports::stagedDiaryOpener(db), diary.path,
                                [&output](const char* data, size_t size) {
                                    output.write(QByteArray::fromRawData(data, qsizetype(size)));
                                });
        output.commit();
        if (r.rows != rows)
            throw std::runtime_error("the report lost rows");
        pages = r.pages;
    });
    const TextBaseline baseline(layout, *db);
    if (baseline.rows() != rows)
        throw std::runtime_error("the staging table lost rows");
    const double raw = benchMs([&] {
        baseline.write(diary.dir.filePath(QStringLiteral("raw.pdf")), (rows + pages - 1) / pages);
    });
    std::fprintf(stderr, "report of %d rows: %d pages, %.0f KB\n", rows, pages,
                 double(QFileInfo(ourFile).size()) / 1024);
    return BenchResult{ours, raw};
}

const BenchRegistration report1000("report-1000", [] { return reportToFile(1000); });
const BenchRegistration reportFull("report-full", [] { return reportToFile(kRecords); });

} // namespace
