#include "platform/report/PdfReportWriter.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <unordered_map>
#include <vector>

#include <cairo-pdf.h>
#include <pango/pangocairo.h>

#include <QHash>
#include <QRegularExpression>
#include <QSet>

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
constexpr double kSlack = 0.01;    // points: lengths closer than this are equal
constexpr int kProgressRows = 64;  // progress is told every so many rows
constexpr int kCachedTexts = 4096; // heights kept per column for texts seen again
constexpr int kCachedLength = 160; // longer texts are rarely seen twice
constexpr int kKeptLayouts = 512;  // layouts kept per column for texts seen again
// Installed Kannada families, in the order a missing font falls back to them.
const char* const kKannadaFamilies[] = {"Noto Sans Kannada", "Lohit Kannada", "Gubbi",
                                        "Noto Serif Kannada"};
// Names fontconfig always resolves to an installed family.
const char* const kGenericFamilies[] = {"sans", "sans-serif", "serif",   "monospace",
                                        "mono", "system-ui",  "cursive", "fantasy"};

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

double points(int pangoUnits)
{
    return pango_units_to_double(pangoUnits);
}

// cairo writes the PDF through this as it goes, in small pieces gathered into blocks for the
// sink. A failure of the sink (a full disk) is kept and thrown once cairo has returned; after
// it, or once the run stops, nothing more is passed on.
struct PdfStream {
    static constexpr qsizetype kBlock = 64 * 1024;

    const PdfSink* sink = nullptr;
    QByteArray block;
    std::exception_ptr failure;
    bool closed = false;

    static cairo_status_t write(void* closure, const unsigned char* data, unsigned int length)
    {
        auto* self = static_cast<PdfStream*>(closure);
        if (self->closed || self->failure)
            return CAIRO_STATUS_WRITE_ERROR;
        self->block.append(reinterpret_cast<const char*>(data), qsizetype(length));
        if (self->block.size() >= kBlock) {
            try {
                self->flush();
            } catch (...) {
                self->failure = std::current_exception();
                return CAIRO_STATUS_WRITE_ERROR;
            }
        }
        return CAIRO_STATUS_SUCCESS;
    }

    void flush()
    {
        if (!block.isEmpty())
            (*sink)(block.constData(), size_t(block.size()));
        block.clear();
    }

    void rethrow() const
    {
        if (failure)
            std::rethrow_exception(failure);
    }
};

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

    PangoContext* context() const { return m_context.get(); }

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
        return points(height);
    }

private:
    std::unique_ptr<PangoContext, GObjectUnref> m_context;
};

// The template's fonts as Pango descriptions. A family that is not installed is replaced by an
// installed Kannada family (never boxes or an empty page), and the run says so once.
class FontChooser {
public:
    explicit FontChooser(PangoContext* context)
    {
        PangoFontFamily** families = nullptr;
        int count = 0;
        pango_font_map_list_families(pango_context_get_font_map(context), &families, &count);
        for (int i = 0; i < count; ++i)
            m_installed.insert(
                QString::fromUtf8(pango_font_family_get_name(families[i])).toCaseFolded());
        g_free(families);
        for (const char* generic : kGenericFamilies)
            m_installed.insert(QLatin1String(generic));
        for (const char* family : kKannadaFamilies) {
            if (m_installed.contains(QString::fromLatin1(family).toCaseFolded())) {
                m_fallback = QString::fromLatin1(family);
                break;
            }
        }
    }

    Font font(const QString& description)
    {
        Font font(pango_font_description_from_string(description.toUtf8().constData()));
        const char* family = pango_font_description_get_family(font.get());
        if (!family)
            return font;
        const QStringList names = QString::fromUtf8(family).split(QLatin1Char(','));
        for (const QString& name : names) {
            if (m_installed.contains(name.trimmed().toCaseFolded()))
                return font;
        }
        const QString missing = names.first().trimmed();
        if (!m_missing.contains(missing))
            m_missing << missing;
        if (!m_fallback.isEmpty())
            pango_font_description_set_family(font.get(), m_fallback.toUtf8().constData());
        return font;
    }

    QStringList notes() const
    {
        if (m_missing.isEmpty())
            return {};
        const QString fonts = m_missing.join(QStringLiteral(", "));
        if (m_fallback.isEmpty())
            return {QStringLiteral(u"ವರದಿಯ ನಮೂನೆ ಹೇಳುವ ಅಕ್ಷರಶೈಲಿ %1 ಈ ಗಣಕದಲ್ಲಿ ಇಲ್ಲ, ಯಾವ ಕನ್ನಡ "
                                   u"ಅಕ್ಷರಶೈಲಿಯೂ ಇಲ್ಲ: ಕನ್ನಡ ಅಕ್ಷರಗಳು ಸರಿಯಾಗಿ ಕಾಣದಿರಬಹುದು.")
                        .arg(fonts)};
        return {QStringLiteral(u"ವರದಿಯ ನಮೂನೆ ಹೇಳುವ ಅಕ್ಷರಶೈಲಿ %1 ಈ ಗಣಕದಲ್ಲಿ ಇಲ್ಲ; ಅದರ ಬದಲು %2 "
                               u"ಬಳಸಲಾಗಿದೆ.")
                    .arg(fonts, m_fallback)};
    }

private:
    QSet<QString> m_installed;
    QString m_fallback;
    QStringList m_missing;
};

// {name} in a heading text: that column of the first row.
QString fillPlaceholders(const QString& text, const ReportTemplate& t, const RowSource& rows,
                         const std::vector<QVariant>& first)
{
    static const QRegularExpression placeholder(QStringLiteral("\\{([A-Za-z_][A-Za-z0-9_]*)\\}"));
    QString out;
    qsizetype from = 0;
    for (auto it = placeholder.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += text.mid(from, m.capturedStart() - from);
        const int column = rows.column(m.captured(1));
        if (column >= 0 && size_t(column) < first.size())
            out += cellText(first[size_t(column)], t.dateFormat, t.kannadaDigits);
        from = m.capturedEnd();
    }
    return out + text.mid(from);
}

// Ends the painting of the first pages alone once they are painted.
struct PageLimit {};

// One cell of the row being laid out.
struct Cell {
    QString text;
    double height = 0;
    PangoLayout* layout = nullptr; // while painting or splitting: `own`, or one kept for reuse
    Layout own;
    std::vector<double> bottoms; // the foot of each line, when the row is split
};

// A text laid out once for a column, kept while its text is seen again.
struct KeptLayout {
    Layout layout;
    double height = 0;
};

// Lays the rows out page by page. The same placement runs twice: first it only counts the
// pages (heights alone, a text seen again not laid out again), then it paints them, so each
// footer knows the number of pages while only one row's layouts are held at a time.
class ReportPainter {
public:
    ReportPainter(const ReportTemplate& t, RowSource& rows, cairo_t* cr, const PdfStream& stream,
                  const ProgressFn& progress)
        : m_t(t), m_rows(rows), m_cr(cr), m_stream(stream), m_type(cr), m_fonts(m_type.context()),
          m_progress(progress), m_width(t.pageSize.width() - 2 * t.margin)
    {
        double total = 0;
        for (const ReportColumn& c : t.columns)
            total += c.width;
        for (const ReportColumn& c : t.columns) {
            m_columnWidths.push_back(m_width * c.width / total);
            std::vector<int> indices;
            for (const QString& field : c.fields)
                indices.push_back(rows.column(field));
            m_sources.push_back(std::move(indices));
        }
        m_cells.resize(m_sources.size());
        m_heights.resize(m_sources.size());
        m_layouts.resize(m_sources.size());
        m_bodyFont = m_fonts.font(t.bodyFont);
        m_footerFont = m_fonts.font(t.footerFont);
    }

    PdfOutcome run()
    {
        m_rows.rewind();
        const std::vector<QVariant>* first = m_rows.next();
        layOutHeadings(first ? *first : std::vector<QVariant>());
        pass(false);
        m_pages = m_page + 1;
        pass(true);
        return PdfOutcome{m_pages, m_done, m_fonts.notes()};
    }

    // Paints the first `pages` pages alone, their number of pages unknown; true when the report
    // ended within them.
    bool runFirst(int pages)
    {
        m_rows.rewind();
        const std::vector<QVariant>* first = m_rows.next();
        layOutHeadings(first ? *first : std::vector<QVariant>());
        m_limit = pages;
        try {
            pass(true);
        } catch (const PageLimit&) {
            return false;
        }
        return true;
    }

private:
    void layOutHeadings(const std::vector<QVariant>& first)
    {
        const Font titleFont = m_fonts.font(m_t.titleFont);
        const Font rangeFont = m_fonts.font(m_t.rangeFont);
        const Font headingFont = m_fonts.font(m_t.headingFont);
        m_title = m_type.layout(fillPlaceholders(m_t.title, m_t, m_rows, first), titleFont.get(),
                                m_width, PANGO_ALIGN_CENTER);
        m_range = m_type.layout(fillPlaceholders(m_t.range, m_t, m_rows, first), rangeFont.get(),
                                m_width, PANGO_ALIGN_CENTER);
        m_top = m_t.margin + Typesetter::height(m_title.get()) + Typesetter::height(m_range.get()) +
                kGap;
        double tallest = 0;
        for (size_t c = 0; c < m_columnWidths.size(); ++c) {
            m_heading.push_back(m_type.layout(m_t.columns[qsizetype(c)].heading, headingFont.get(),
                                              m_columnWidths[c] - 2 * kPad,
                                              pangoAlignment(m_t.columns[qsizetype(c)].align)));
            tallest = std::max(tallest, Typesetter::height(m_heading.back().get()));
        }
        m_headingHeight = tallest + 2 * kPad;
        // The footer's height does not depend on its numbers.
        const Layout sample = footer(1, 1);
        m_bottom = m_t.pageSize.height() - m_t.margin - Typesetter::height(sample.get()) - kGap;
        m_room = m_bottom - m_top - m_headingHeight;
        // At least one line of text must fit under the heading row, or no row would ever end.
        if (m_room < cellHeight(0, QString()) + 2 * kPad)
            throw ReportError(
                QStringLiteral(u"ವರದಿಯ ನಮೂನೆಯ ಶೀರ್ಷಿಕೆ, ಕಾಲಂಗಳ ತಲೆಬರಹ ಮತ್ತು ಅಡಿಬರಹಗಳಿಗೇ ಪುಟ ಸಾಲದು: "
                               u"ಅವುಗಳ ಅಕ್ಷರದ ಗಾತ್ರ ಅಥವಾ ಪುಟದ ಅಂಚನ್ನು ಕಡಿಮೆ ಮಾಡಿ."));
    }

    void pass(bool writing)
    {
        m_writing = writing;
        m_page = 0;
        m_used = 0;
        m_done = 0;
        m_rows.rewind();
        startPage();
        while (const std::vector<QVariant>* values = m_rows.next()) {
            fillTexts(*values);
            checkSameRow();
            addRow();
            if (++m_done % kProgressRows == 0)
                tell();
        }
        if (writing && m_limit == 0 && size_t(m_done) != m_rowKeys.size())
            rowsChanged();
        tell();
        if (m_writing)
            finishPage();
    }

    void tell() const
    {
        if (m_progress &&
            !m_progress(ReportProgress{m_writing, m_done, m_rows.rowCount(), m_page + 1, m_pages}))
            throw ReportCancelled();
    }

    // The rows are read twice; should another run stage the table in between, the pages
    // counted would not be the pages written.
    void checkSameRow()
    {
        if (m_limit > 0)
            return;
        size_t key = 0;
        for (const Cell& cell : m_cells)
            key = qHash(cell.text, key);
        if (!m_writing)
            m_rowKeys.push_back(key);
        else if (size_t(m_done) >= m_rowKeys.size() || m_rowKeys[size_t(m_done)] != key)
            rowsChanged();
    }

    [[noreturn]] static void rowsChanged()
    {
        throw ReportError(QStringLiteral(u"ವರದಿಯನ್ನು ಮಾಡುತ್ತಿರುವಾಗಲೇ ಅದರ ಸಾಲುಗಳು ಬದಲಾದವು (ಇನ್ನೊಂದು "
                                         u"ಕಿಟಕಿ ಅದೇ ವರದಿಯನ್ನು ಮಾಡಿತು). ಮತ್ತೆ ಪ್ರಯತ್ನಿಸಿ."));
    }

    void fillTexts(const std::vector<QVariant>& values)
    {
        for (size_t c = 0; c < m_sources.size(); ++c) {
            QString text;
            for (int index : m_sources[c]) {
                const QString line =
                    cellText(values[size_t(index)], m_t.dateFormat, m_t.kannadaDigits);
                if (line.isEmpty())
                    continue;
                if (!text.isEmpty())
                    text += QLatin1Char('\n');
                text += line;
            }
            Cell& cell = m_cells[c];
            cell.text = std::move(text);
            cell.layout = nullptr;
            cell.own.reset();
            cell.bottoms.clear();
        }
    }

    Layout cellLayout(size_t c, const QString& text) const
    {
        return m_type.layout(text, m_bodyFont.get(), m_columnWidths[c] - 2 * kPad,
                             pangoAlignment(m_t.columns[qsizetype(c)].align));
    }

    // The height of a text in column `c`; texts seen again (day names, places) are not laid
    // out again.
    double cellHeight(size_t c, const QString& text)
    {
        QHash<QString, double>& heights = m_heights[c];
        if (const auto it = heights.constFind(text); it != heights.constEnd())
            return *it;
        const double height = Typesetter::height(cellLayout(c, text).get());
        if (text.size() <= kCachedLength) {
            if (heights.size() >= kCachedTexts)
                heights.clear();
            heights.insert(text, height);
        }
        return height;
    }

    // The cell's layout for painting: a short text seen again is shown from the layout made
    // the first time.
    void layOut(size_t c, Cell& cell)
    {
        if (cell.text.size() > kCachedLength) {
            cell.own = cellLayout(c, cell.text);
            cell.layout = cell.own.get();
            cell.height = Typesetter::height(cell.layout);
            return;
        }
        std::unordered_map<QString, KeptLayout>& kept = m_layouts[c];
        auto it = kept.find(cell.text);
        if (it == kept.end()) {
            if (kept.size() >= size_t(kKeptLayouts))
                kept.clear();
            Layout layout = cellLayout(c, cell.text);
            const double height = Typesetter::height(layout.get());
            it = kept.emplace(cell.text, KeptLayout{std::move(layout), height}).first;
        }
        cell.layout = it->second.layout.get();
        cell.height = it->second.height;
    }

    void addRow()
    {
        double content = 0;
        for (size_t c = 0; c < m_cells.size(); ++c) {
            Cell& cell = m_cells[c];
            // Painting needs the layout anyway; an empty text paints nothing.
            if (m_writing && !cell.text.isEmpty()) {
                layOut(c, cell);
            } else {
                cell.height = cellHeight(c, cell.text);
            }
            content = std::max(content, cell.height);
        }
        const double height = content + 2 * kPad;
        if (height > m_room - m_used + kSlack) {
            if (height > m_room + kSlack)
                return splitRow();
            newPage();
        }
        if (m_writing)
            paintWhole(bodyTop(), height);
        m_used += height;
    }

    double bodyTop() const { return m_top + m_headingHeight + m_used; }

    // A row taller than a page: each piece takes the whole lines of each cell that fit, the
    // next piece goes on with the lines after them on a new page.
    void splitRow()
    {
        for (size_t c = 0; c < m_cells.size(); ++c)
            measureLines(c);
        std::vector<double> from(m_cells.size(), 0.0), to(m_cells.size(), 0.0);
        // Started on this page when every cell's first line fits what is left of it.
        for (const Cell& cell : m_cells) {
            if (m_used > 0 && !cell.bottoms.empty() &&
                cell.bottoms.front() > m_room - m_used - 2 * kPad + kSlack) {
                newPage();
                break;
            }
        }
        for (;;) {
            const double room = m_room - m_used - 2 * kPad;
            double slice = 0;
            bool more = false;
            for (size_t c = 0; c < m_cells.size(); ++c) {
                to[c] = lineEnd(m_cells[c], from[c], room);
                slice = std::max(slice, to[c] - from[c]);
                more = more || to[c] < m_cells[c].height - kSlack;
            }
            if (m_writing)
                paintPiece(bodyTop(), slice + 2 * kPad, from, to);
            m_used += slice + 2 * kPad;
            if (!more)
                return;
            from = to;
            newPage();
        }
    }

    void measureLines(size_t c)
    {
        Cell& cell = m_cells[c];
        if (!cell.layout) {
            cell.own = cellLayout(c, cell.text);
            cell.layout = cell.own.get();
        }
        PangoLayoutIter* it = pango_layout_get_iter(cell.layout);
        do {
            int top = 0, bottom = 0;
            pango_layout_iter_get_line_yrange(it, &top, &bottom);
            cell.bottoms.push_back(points(bottom));
        } while (pango_layout_iter_next_line(it));
        pango_layout_iter_free(it);
    }

    // Where a piece starting at `from` ends in `cell`: at the foot of its last whole line
    // within `room`. On a fresh page at least one line is taken, however tall.
    double lineEnd(const Cell& cell, double from, double room) const
    {
        double end = from;
        for (double bottom : cell.bottoms) {
            if (bottom <= from + kSlack)
                continue;
            if (bottom <= from + room + kSlack)
                end = bottom;
            else {
                if (end == from && m_used == 0)
                    end = bottom;
                break;
            }
        }
        return end;
    }

    void startPage()
    {
        if (!m_writing)
            return;
        cairo_set_source_rgb(m_cr, 0, 0, 0);
        showAt(m_title.get(), m_t.margin, m_t.margin);
        showAt(m_range.get(), m_t.margin, m_t.margin + Typesetter::height(m_title.get()));
        cairo_rectangle(m_cr, m_t.margin, m_top, m_width, m_headingHeight);
        cairo_set_source_rgb(m_cr, kHeadingGrey, kHeadingGrey, kHeadingGrey);
        cairo_fill(m_cr);
        cairo_set_source_rgb(m_cr, 0, 0, 0);
        double x = m_t.margin;
        for (size_t c = 0; c < m_heading.size(); ++c) {
            showAt(m_heading[c].get(), x + kPad, m_top + kPad);
            x += m_columnWidths[c];
        }
    }

    // The table's rules, drawn once for the page: a line under the heading and under each row,
    // one between columns down to the last row.
    void finishPage()
    {
        const double foot = m_rowFeet.empty() ? m_top + m_headingHeight : m_rowFeet.back();
        const double right = m_t.margin + m_width;
        cairo_move_to(m_cr, m_t.margin, m_top);
        cairo_line_to(m_cr, right, m_top);
        cairo_move_to(m_cr, m_t.margin, m_top + m_headingHeight);
        cairo_line_to(m_cr, right, m_top + m_headingHeight);
        for (double y : m_rowFeet) {
            cairo_move_to(m_cr, m_t.margin, y);
            cairo_line_to(m_cr, right, y);
        }
        double x = m_t.margin;
        for (size_t c = 0; c <= m_columnWidths.size(); ++c) {
            cairo_move_to(m_cr, x, m_top);
            cairo_line_to(m_cr, x, foot);
            x += c < m_columnWidths.size() ? m_columnWidths[c] : 0;
        }
        cairo_set_line_width(m_cr, kRule);
        cairo_stroke(m_cr);
        m_rowFeet.clear();
        paintFooter();
    }

    void newPage()
    {
        if (m_writing) {
            finishPage();
            cairo_show_page(m_cr);
            m_stream.rethrow(); // a full disk stops the run at the page that failed
        }
        ++m_page;
        if (m_limit > 0 && m_page >= m_limit)
            throw PageLimit();
        m_used = 0;
        startPage();
    }

    Layout footer(int page, int pages) const
    {
        QString text = m_t.footer;
        text.replace(QLatin1String("{page}"), QString::number(page));
        text.replace(QLatin1String("{pages}"),
                     pages > 0 ? QString::number(pages) : QStringLiteral(u"…"));
        if (m_t.kannadaDigits)
            text = varnel::kannadaDigits(text);
        return m_type.layout(text, m_footerFont.get(), m_width, PANGO_ALIGN_CENTER);
    }

    void paintFooter()
    {
        const Layout foot = footer(m_page + 1, m_pages);
        showAt(foot.get(), m_t.margin, m_bottom + kGap);
    }

    void showAt(PangoLayout* layout, double x, double y)
    {
        cairo_move_to(m_cr, x, y);
        pango_cairo_show_layout(m_cr, layout);
    }

    void paintWhole(double y, double height)
    {
        double x = m_t.margin;
        for (size_t c = 0; c < m_cells.size(); ++c) {
            if (m_cells[c].layout)
                showAt(m_cells[c].layout, x + kPad, y + kPad);
            x += m_columnWidths[c];
        }
        m_rowFeet.push_back(y + height);
    }

    // Lines [from, to) of each cell; a line taller than a whole page is cut at its foot.
    void paintPiece(double y, double height, const std::vector<double>& from,
                    const std::vector<double>& to)
    {
        height = std::min(height, m_bottom - y);
        cairo_save(m_cr);
        cairo_rectangle(m_cr, m_t.margin, y, m_width, height);
        cairo_clip(m_cr);
        double x = m_t.margin;
        for (size_t c = 0; c < m_cells.size(); ++c) {
            if (!m_cells[c].text.isEmpty())
                showLines(m_cells[c].layout, x + kPad, y + kPad, from[c], to[c]);
            x += m_columnWidths[c];
        }
        cairo_restore(m_cr);
        m_rowFeet.push_back(y + height);
    }

    void showLines(PangoLayout* layout, double x, double y, double from, double to)
    {
        PangoLayoutIter* it = pango_layout_get_iter(layout);
        do {
            int top = 0, bottom = 0;
            pango_layout_iter_get_line_yrange(it, &top, &bottom);
            if (points(top) >= from - kSlack && points(bottom) <= to + kSlack) {
                PangoRectangle logical;
                pango_layout_iter_get_line_extents(it, nullptr, &logical);
                cairo_move_to(m_cr, x + points(logical.x),
                              y + points(pango_layout_iter_get_baseline(it)) - from);
                pango_cairo_show_layout_line(m_cr, pango_layout_iter_get_line_readonly(it));
            }
        } while (pango_layout_iter_next_line(it));
        pango_layout_iter_free(it);
    }

    const ReportTemplate& m_t;
    RowSource& m_rows;
    cairo_t* m_cr;
    const PdfStream& m_stream;
    Typesetter m_type;
    FontChooser m_fonts;
    const ProgressFn& m_progress;
    double m_width;
    std::vector<double> m_columnWidths;
    std::vector<std::vector<int>> m_sources; // the staging columns of each report column
    Font m_bodyFont, m_footerFont;
    Layout m_title, m_range;
    std::vector<Layout> m_heading;
    double m_headingHeight = 0;
    double m_top = 0, m_bottom = 0, m_room = 0; // m_room: under the heading row
    std::vector<Cell> m_cells;
    std::vector<QHash<QString, double>> m_heights;
    std::vector<std::unordered_map<QString, KeptLayout>> m_layouts;
    std::vector<size_t> m_rowKeys; // one per row, taken while counting
    bool m_writing = false;
    int m_page = 0, m_pages = 0, m_done = 0;
    int m_limit = 0;   // pages painted before the count, when the first pages are painted alone
    double m_used = 0; // of m_room on the current page
    std::vector<double> m_rowFeet; // of the rows painted on the current page
};

// A PDF of the template's page size streamed into `sink`, painted by `paint`.
template <typename Paint>
PdfOutcome writePdf(const ReportTemplate& layout, const PdfSink& sink, const Paint& paint)
{
    PdfStream stream;
    stream.sink = &sink;
    const std::unique_ptr<cairo_surface_t, CairoDestroy> surface(
        cairo_pdf_surface_create_for_stream(&PdfStream::write, &stream, layout.pageSize.width(),
                                            layout.pageSize.height()));
    cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_TITLE,
                                   layout.title.toUtf8().constData());
    cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_CREATOR, "Velmora");
    PdfOutcome out;
    try {
        {
            const std::unique_ptr<cairo_t, CairoDestroy> cr(cairo_create(surface.get()));
            out = paint(cr.get(), stream);
        }
        cairo_surface_finish(surface.get());
    } catch (...) {
        // Whatever cairo still holds is not wanted once the run stopped.
        stream.closed = true;
        throw;
    }
    stream.rethrow();
    const cairo_status_t status = cairo_surface_status(surface.get());
    if (status != CAIRO_STATUS_SUCCESS)
        throw ReportError(QStringLiteral(u"ವರದಿಯ PDF ಮಾಡಲಾಗಲಿಲ್ಲ: %1")
                              .arg(QString::fromUtf8(cairo_status_to_string(status))));
    stream.flush();
    return out;
}

} // namespace

PdfOutcome writeReportPdf(const ReportTemplate& layout, RowSource& rows, const PdfSink& sink,
                          const ProgressFn& progress, const FirstPages* first)
{
    for (const QString& field : layout.fieldsUsed()) {
        if (rows.column(field) < 0)
            throw ReportError(QStringLiteral(u"ವರದಿಯ ನಮೂನೆ ಕೇಳುವ ಕಾಲಂ %1 ಕೋಷ್ಟಕ %2ರಲ್ಲಿ ಇಲ್ಲ.")
                                  .arg(field, layout.table));
    }
    if (first && first->pages > 0) {
        bool whole = false;
        const ProgressFn untold;
        writePdf(layout, first->sink, [&](cairo_t* cr, const PdfStream& stream) {
            ReportPainter painter(layout, rows, cr, stream, untold);
            whole = painter.runFirst(first->pages);
            return PdfOutcome{};
        });
        if (first->written)
            first->written(whole);
    }
    return writePdf(layout, sink, [&](cairo_t* cr, const PdfStream& stream) {
        ReportPainter painter(layout, rows, cr, stream, progress);
        return painter.run();
    });
}

} // namespace report
