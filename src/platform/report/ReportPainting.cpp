#include "platform/report/ReportPainter.h"

#include <algorithm>

#include <QRegularExpression>

#include "platform/report/ReportError.h"
#include "platform/varnel/KannadaDigits.h"

// What a page shows: the title and range, the heading row, the rows' text, the rules and the
// footer.
namespace report::pdf {

namespace {

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

} // namespace

void ReportPainter::layOutHeadings(const std::vector<QVariant>& first)
{
    const Font titleFont = m_fonts.font(m_t.titleFont);
    const Font rangeFont = m_fonts.font(m_t.rangeFont);
    const Font headingFont = m_fonts.font(m_t.headingFont);
    m_title = m_type.layout(fillPlaceholders(m_t.title, m_t, m_rows, first), titleFont.get(),
                            m_width, PANGO_ALIGN_CENTER);
    m_range = m_type.layout(fillPlaceholders(m_t.range, m_t, m_rows, first), rangeFont.get(),
                            m_width, PANGO_ALIGN_CENTER);
    m_top =
        m_t.margin + Typesetter::height(m_title.get()) + Typesetter::height(m_range.get()) + kGap;
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

void ReportPainter::startPage()
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
void ReportPainter::finishPage()
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

Layout ReportPainter::footer(int page, int pages) const
{
    QString text = m_t.footer;
    text.replace(QLatin1String("{page}"), QString::number(page));
    text.replace(QLatin1String("{pages}"),
                 pages > 0 ? QString::number(pages) : QStringLiteral(u"…"));
    if (m_t.kannadaDigits)
        text = varnel::kannadaDigits(text);
    return m_type.layout(text, m_footerFont.get(), m_width, PANGO_ALIGN_CENTER);
}

void ReportPainter::paintFooter()
{
    const Layout foot = footer(m_page + 1, m_pages);
    showAt(foot.get(), m_t.margin, m_bottom + kGap);
}

void ReportPainter::showAt(PangoLayout* layout, double x, double y)
{
    cairo_move_to(m_cr, x, y);
    pango_cairo_show_layout(m_cr, layout);
}

void ReportPainter::paintWhole(double y, double height)
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
void ReportPainter::paintPiece(double y, double height, const std::vector<double>& from,
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

void ReportPainter::showLines(PangoLayout* layout, double x, double y, double from, double to)
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

} // namespace report::pdf
