#include "platform/report/ReportPainter.h"

#include <algorithm>

#include "platform/report/ReportError.h"

// Where the rows go: which page, whole or split between lines, and the two passes over them.
namespace report::pdf {

ReportPainter::ReportPainter(const ReportTemplate& t, RowSource& rows, cairo_t* cr,
                             const PdfStream& stream, const ProgressFn& progress)
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

PdfOutcome ReportPainter::run()
{
    m_rows.rewind();
    const std::vector<QVariant>* first = m_rows.next();
    layOutHeadings(first ? *first : std::vector<QVariant>());
    pass(false);
    m_pages = m_page + 1;
    pass(true);
    return PdfOutcome{m_pages, m_done, m_fonts.notes()};
}

bool ReportPainter::runFirst(int pages)
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

void ReportPainter::pass(bool writing)
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

void ReportPainter::tell() const
{
    if (m_progress &&
        !m_progress(ReportProgress{m_writing, m_done, m_rows.rowCount(), m_page + 1, m_pages}))
        throw ReportCancelled();
}

// The rows are read twice; should another run stage the table in between, the pages
// counted would not be the pages written.
void ReportPainter::checkSameRow()
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

void ReportPainter::rowsChanged()
{
    throw ReportError(QStringLiteral(u"ವರದಿಯನ್ನು ಮಾಡುತ್ತಿರುವಾಗಲೇ ಅದರ ಸಾಲುಗಳು ಬದಲಾದವು (ಇನ್ನೊಂದು "
                                     u"ಕಿಟಕಿ ಅದೇ ವರದಿಯನ್ನು ಮಾಡಿತು). ಮತ್ತೆ ಪ್ರಯತ್ನಿಸಿ."));
}

void ReportPainter::fillTexts(const std::vector<QVariant>& values)
{
    for (size_t c = 0; c < m_sources.size(); ++c) {
        QString text;
        for (int index : m_sources[c]) {
            const QString line = cellText(values[size_t(index)], m_t.dateFormat, m_t.kannadaDigits);
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

Layout ReportPainter::cellLayout(size_t c, const QString& text) const
{
    return m_type.layout(text, m_bodyFont.get(), m_columnWidths[c] - 2 * kPad,
                         pangoAlignment(m_t.columns[qsizetype(c)].align));
}

// The height of a text in column `c`; texts seen again (day names, places) are not laid
// out again.
double ReportPainter::cellHeight(size_t c, const QString& text)
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
void ReportPainter::layOut(size_t c, Cell& cell)
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

void ReportPainter::addRow()
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

// A row taller than a page: each piece takes the whole lines of each cell that fit, the
// next piece goes on with the lines after them on a new page.
void ReportPainter::splitRow()
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

void ReportPainter::measureLines(size_t c)
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
double ReportPainter::lineEnd(const Cell& cell, double from, double room) const
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

void ReportPainter::newPage()
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

} // namespace report::pdf
