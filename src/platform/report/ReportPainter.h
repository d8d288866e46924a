#pragma once

#include <unordered_map>
#include <vector>

#include <QHash>
#include <QString>
#include <QVariant>

#include "platform/report/PdfReportWriter.h"
#include "platform/report/PdfStream.h"
#include "platform/report/PdfTypesetting.h"
#include "platform/report/ReportTemplate.h"
#include "platform/report/StagingTable.h"

namespace report::pdf {

constexpr double kPad = 3;    // points between a cell's rule and its text
constexpr double kRule = 0.5; // width of the table's rules
constexpr double kGap = 8;    // between the heading block, the table and the footer
constexpr double kHeadingGrey = 0.88;
constexpr double kSlack = 0.01;    // points: lengths closer than this are equal
constexpr int kProgressRows = 64;  // progress is told every so many rows
constexpr int kCachedTexts = 4096; // heights kept per column for texts seen again
constexpr int kCachedLength = 160; // longer texts are rarely seen twice
constexpr int kKeptLayouts = 512;  // layouts kept per column for texts seen again

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
// footer knows the number of pages while only one row's layouts are held at a time. Where the
// rows go is ReportPagination.cpp; what a page shows is ReportPainting.cpp.
class ReportPainter {
public:
    ReportPainter(const ReportTemplate& t, RowSource& rows, cairo_t* cr, const PdfStream& stream,
                  const ProgressFn& progress);

    PdfOutcome run();
    // Paints the first `pages` pages alone, their number of pages unknown; true when the report
    // ended within them.
    bool runFirst(int pages);

private:
    // Pagination.
    void pass(bool writing);
    void tell() const;
    void checkSameRow();
    [[noreturn]] static void rowsChanged();
    void fillTexts(const std::vector<QVariant>& values);
    Layout cellLayout(size_t c, const QString& text) const;
    double cellHeight(size_t c, const QString& text);
    void layOut(size_t c, Cell& cell);
    void addRow();
    double bodyTop() const { return m_top + m_headingHeight + m_used; }
    void splitRow();
    void measureLines(size_t c);
    double lineEnd(const Cell& cell, double from, double room) const;
    void newPage();

    // Painting.
    void layOutHeadings(const std::vector<QVariant>& first);
    void startPage();
    void finishPage();
    Layout footer(int page, int pages) const;
    void paintFooter();
    void showAt(PangoLayout* layout, double x, double y);
    void paintWhole(double y, double height);
    void paintPiece(double y, double height, const std::vector<double>& from,
                    const std::vector<double>& to);
    void showLines(PangoLayout* layout, double x, double y, double from, double to);

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

} // namespace report::pdf
