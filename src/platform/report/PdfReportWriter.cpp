#include "platform/report/PdfReportWriter.h"

#include <algorithm>
#include <memory>
#include <vector>

#include <cairo-pdf.h>
#include <pango/pangocairo.h>

#include <QRegularExpression>

#include "platform/report/ReportError.h"
#include "platform/report/ReportTemplate.h"
#include "platform/report/StagingTable.h"
#include "platform/varnel/KannadaDigits.h"

namespace report {

namespace {

constexpr double kPad = 3;    // points between a cell's rule and its text
constexpr double kRule = 0.5; // width of the table's rules
constexpr double kGap = 8;    // between the heading block, the table and the footer
constexpr double kHeadingGrey = 0.88;

struct GObjectUnref {
    void operator()(gpointer p) const { g_object_unref(p); }
};
struct FontFree {
    void operator()(PangoFontDescription* f) const { pango_font_description_free(f); }
};
struct CairoDestroy {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
using Layout = std::unique_ptr<PangoLayout, GObjectUnref>;
using Font = std::unique_ptr<PangoFontDescription, FontFree>;

cairo_status_t appendTo(void* closure, const unsigned char* data, unsigned int length)
{
    static_cast<QByteArray*>(closure)->append(reinterpret_cast<const char*>(data),
                                              qsizetype(length));
    return CAIRO_STATUS_SUCCESS;
}

PangoAlignment pangoAlignment(ReportColumn::Align align)
{
    switch (align) {
    case ReportColumn::Align::Centre: return PANGO_ALIGN_CENTER;
    case ReportColumn::Align::Right: return PANGO_ALIGN_RIGHT;
    case ReportColumn::Align::Left: break;
    }
    return PANGO_ALIGN_LEFT;
}

// Makes text layouts whose sizes are in PDF points.
class Typesetter {
public:
    explicit Typesetter(cairo_t* cr) : m_context(pango_cairo_create_context(cr))
    {
        pango_cairo_context_set_resolution(m_context.get(), 72);
        // Glyphs stay where the font puts them: rounded to whole points, a subjoined letter
        // drifts off its base and text extraction splits the word there.
        pango_context_set_round_glyph_positions(m_context.get(), FALSE);
        cairo_font_options_t* options = cairo_font_options_create();
        // Unhinted metrics: the same widths on paper and on screen at every zoom.
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
        pango_cairo_context_set_font_options(m_context.get(), options);
        cairo_font_options_destroy(options);
    }

    Layout layout(const QString& text, const PangoFontDescription* font, double width,
                  PangoAlignment align) const
    {
        Layout l(pango_layout_new(m_context.get()));
        pango_layout_set_font_description(l.get(), font);
        pango_layout_set_width(l.get(), pango_units_from_double(std::max(width, 1.0)));
        pango_layout_set_wrap(l.get(), PANGO_WRAP_WORD_CHAR);
        pango_layout_set_alignment(l.get(), align);
        const QByteArray utf8 = text.toUtf8();
        pango_layout_set_text(l.get(), utf8.constData(), int(utf8.size()));
        return l;
    }

    static double height(PangoLayout* l)
    {
        int width = 0, height = 0;
        pango_layout_get_size(l, &width, &height);
        return pango_units_to_double(height);
    }

private:
    std::unique_ptr<PangoContext, GObjectUnref> m_context;
};

Font font(const QString& description)
{
    return Font(pango_font_description_from_string(description.toUtf8().constData()));
}

// {name} in a heading text: that column of the first row.
QString fillPlaceholders(const QString& text, const ReportTemplate& t, const StagingTable& table)
{
    static const QRegularExpression placeholder(QStringLiteral("\\{([A-Za-z_][A-Za-z0-9_]*)\\}"));
    QString out;
    qsizetype from = 0;
    for (auto it = placeholder.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += text.mid(from, m.capturedStart() - from);
        const int column = table.column(m.captured(1));
        if (column >= 0 && !table.rows.empty())
            out += cellText(table.rows.front()[size_t(column)], t.dateFormat, t.kannadaDigits);
        from = m.capturedEnd();
    }
    return out + text.mid(from);
}

struct Row {
    std::vector<Layout> cells;
    double height = 0;
};

class ReportPainter {
public:
    ReportPainter(const ReportTemplate& t, const StagingTable& table, cairo_t* cr)
        : m_t(t), m_table(table), m_cr(cr), m_type(cr), m_width(t.pageSize.width() - 2 * t.margin)
    {
        double total = 0;
        for (const ReportColumn& c : t.columns)
            total += c.width;
        for (const ReportColumn& c : t.columns)
            m_columnWidths.push_back(m_width * c.width / total);
        m_bodyFont = font(t.bodyFont);
        m_footerFont = font(t.footerFont);
    }

    int paint()
    {
        layOutHeadings();
        layOutRows();
        const std::vector<size_t> starts = paginate();
        const int pages = int(starts.size());
        for (int p = 0; p < pages; ++p) {
            if (p > 0)
                cairo_show_page(m_cr);
            const size_t end = p + 1 < pages ? starts[size_t(p + 1)] : m_rows.size();
            paintPage(p, pages, starts[size_t(p)], end);
        }
        return pages;
    }

private:
    void layOutHeadings()
    {
        const Font titleFont = font(m_t.titleFont);
        const Font rangeFont = font(m_t.rangeFont);
        const Font headingFont = font(m_t.headingFont);
        m_title = m_type.layout(fillPlaceholders(m_t.title, m_t, m_table), titleFont.get(), m_width,
                                PANGO_ALIGN_CENTER);
        m_range = m_type.layout(fillPlaceholders(m_t.range, m_t, m_table), rangeFont.get(), m_width,
                                PANGO_ALIGN_CENTER);
        m_top = m_t.margin + Typesetter::height(m_title.get()) + Typesetter::height(m_range.get()) +
                kGap;
        for (size_t c = 0; c < m_columnWidths.size(); ++c) {
            const ReportColumn& column = m_t.columns[qsizetype(c)];
            m_heading.cells.push_back(m_type.layout(column.heading, headingFont.get(),
                                                    m_columnWidths[c] - 2 * kPad,
                                                    pangoAlignment(column.align)));
        }
        m_heading.height = rowHeight(m_heading);
        // The footer's height does not depend on its numbers.
        const Layout sample = footer(1, 1);
        m_bottom = m_t.pageSize.height() - m_t.margin - Typesetter::height(sample.get()) - kGap;
    }

    void layOutRows()
    {
        std::vector<std::vector<int>> sources;
        for (const ReportColumn& column : m_t.columns) {
            std::vector<int> indices;
            for (const QString& field : column.fields)
                indices.push_back(m_table.column(field));
            sources.push_back(std::move(indices));
        }
        m_rows.reserve(m_table.rows.size());
        for (const std::vector<QVariant>& values : m_table.rows) {
            Row row;
            for (size_t c = 0; c < sources.size(); ++c) {
                QStringList lines;
                for (int index : sources[c]) {
                    const QString text =
                        cellText(values[size_t(index)], m_t.dateFormat, m_t.kannadaDigits);
                    if (!text.isEmpty())
                        lines << text;
                }
                row.cells.push_back(m_type.layout(lines.join(QLatin1Char('\n')), m_bodyFont.get(),
                                                  m_columnWidths[c] - 2 * kPad,
                                                  pangoAlignment(m_t.columns[qsizetype(c)].align)));
            }
            row.height = rowHeight(row);
            m_rows.push_back(std::move(row));
        }
    }

    static double rowHeight(const Row& row)
    {
        double tallest = 0;
        for (const Layout& cell : row.cells)
            tallest = std::max(tallest, Typesetter::height(cell.get()));
        return tallest + 2 * kPad;
    }

    // The first row of every page; a page always takes at least one row, so a row taller than
    // a page is cut at the page's foot rather than lost.
    std::vector<size_t> paginate() const
    {
        const double room = m_bottom - m_top - m_heading.height;
        std::vector<size_t> starts{0};
        double used = 0;
        for (size_t i = 0; i < m_rows.size(); ++i) {
            if (used > 0 && used + m_rows[i].height > room) {
                starts.push_back(i);
                used = 0;
            }
            used += m_rows[i].height;
        }
        return starts;
    }

    Layout footer(int page, int pages) const
    {
        QString text = m_t.footer;
        text.replace(QLatin1String("{page}"), QString::number(page));
        text.replace(QLatin1String("{pages}"), QString::number(pages));
        if (m_t.kannadaDigits)
            text = varnel::kannadaDigits(text);
        return m_type.layout(text, m_footerFont.get(), m_width, PANGO_ALIGN_CENTER);
    }

    void showAt(PangoLayout* layout, double x, double y)
    {
        cairo_move_to(m_cr, x, y);
        pango_cairo_show_layout(m_cr, layout);
    }

    void paintRow(const Row& row, double y, bool heading)
    {
        const double bottom = std::min(y + row.height, m_bottom);
        double x = m_t.margin;
        cairo_save(m_cr);
        if (heading) {
            cairo_rectangle(m_cr, m_t.margin, y, m_width, bottom - y);
            cairo_set_source_rgb(m_cr, kHeadingGrey, kHeadingGrey, kHeadingGrey);
            cairo_fill(m_cr);
        }
        // Wide enough for the rules on the row's edges; only an over-tall row is cut.
        cairo_rectangle(m_cr, m_t.margin - kRule, y - kRule, m_width + 2 * kRule,
                        bottom - y + 2 * kRule);
        cairo_clip(m_cr);
        cairo_set_source_rgb(m_cr, 0, 0, 0);
        for (size_t c = 0; c < row.cells.size(); ++c) {
            showAt(row.cells[c].get(), x + kPad, y + kPad);
            cairo_rectangle(m_cr, x, y, m_columnWidths[c], bottom - y);
            x += m_columnWidths[c];
        }
        cairo_set_line_width(m_cr, kRule);
        cairo_stroke(m_cr);
        cairo_restore(m_cr);
    }

    void paintPage(int page, int pages, size_t first, size_t end)
    {
        cairo_set_source_rgb(m_cr, 0, 0, 0);
        showAt(m_title.get(), m_t.margin, m_t.margin);
        showAt(m_range.get(), m_t.margin, m_t.margin + Typesetter::height(m_title.get()));
        double y = m_top;
        paintRow(m_heading, y, true);
        y += m_heading.height;
        for (size_t i = first; i < end; ++i) {
            paintRow(m_rows[i], y, false);
            y += m_rows[i].height;
        }
        const Layout foot = footer(page + 1, pages);
        showAt(foot.get(), m_t.margin, m_bottom + kGap);
    }

    const ReportTemplate& m_t;
    const StagingTable& m_table;
    cairo_t* m_cr;
    Typesetter m_type;
    double m_width;
    std::vector<double> m_columnWidths;
    Font m_bodyFont, m_footerFont;
    Layout m_title, m_range;
    Row m_heading;
    std::vector<Row> m_rows;
    double m_top = 0, m_bottom = 0;
};

} // namespace

RenderedPdf writeReportPdf(const ReportTemplate& layout, const StagingTable& table)
{
    for (const QString& field : layout.fieldsUsed()) {
        if (table.column(field) < 0)
            throw ReportError(QStringLiteral(u"ವರದಿಯ ನಮೂನೆ ಕೇಳುವ ಕಾಲಂ %1 ಕೋಷ್ಟಕ %2ರಲ್ಲಿ ಇಲ್ಲ.")
                                  .arg(field, layout.table));
    }
    RenderedPdf out;
    const std::unique_ptr<cairo_surface_t, CairoDestroy> surface(
        cairo_pdf_surface_create_for_stream(appendTo, &out.bytes, layout.pageSize.width(),
                                            layout.pageSize.height()));
    cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_TITLE,
                                   layout.title.toUtf8().constData());
    cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_CREATOR, "Velmora");
    {
        const std::unique_ptr<cairo_t, CairoDestroy> cr(cairo_create(surface.get()));
        ReportPainter painter(layout, table, cr.get());
        out.pages = painter.paint();
    }
    cairo_surface_finish(surface.get());
    const cairo_status_t status = cairo_surface_status(surface.get());
    if (status != CAIRO_STATUS_SUCCESS)
        throw ReportError(QStringLiteral(u"ವರದಿಯ PDF ಮಾಡಲಾಗಲಿಲ್ಲ: %1")
                              .arg(QString::fromUtf8(cairo_status_to_string(status))));
    return out;
}

} // namespace report
