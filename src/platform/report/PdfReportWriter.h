#pragma once

#include <cstddef>
#include <functional>

#include <QStringList>

namespace report {

struct ReportTemplate;
class RowSource;

// Receives the PDF as it is written, a piece at a time; throws to stop the run.
using PdfSink = std::function<void(const char* data, std::size_t length)>;

// How far a run has come. The pages are laid out twice: first only counted (so every footer
// can say "page X of N"), then written.
struct ReportProgress {
    bool writing = false; // false while the pages are counted
    int rowsDone = 0;     // rows laid out in this pass
    int rows = 0;         // rows in the report
    int pages = 0;        // pages laid out in this pass so far
    int totalPages = 0;   // the report's pages, once counted (while writing)
};
// Told of the progress every few rows; false stops the run (ReportCancelled).
using ProgressFn = std::function<bool(const ReportProgress&)>;

// A report's first pages written as a PDF of their own before the pages are counted, to be shown
// while the rest is laid out. Their footers cannot yet tell the number of pages: "…" stands for
// it.
struct FirstPages {
    int pages = 0;
    PdfSink sink;
    // Told once they are written; `whole` when the report has no more pages than these.
    std::function<void(bool whole)> written;
};

struct PdfOutcome {
    int pages = 0;
    int rows = 0;
    QStringList notes; // said once to the user, e.g. a font that is not installed
};

// Lays the rows out as the template says and streams the PDF into `sink`: the title and range
// on every page, the table's heading row repeated on every page, long texts wrapped inside
// their cells, the footer (page X of Y) at the foot of each page. A row that does not fit what
// is left of a page moves to the next; a row taller than a whole page is split between lines
// across as many pages as it needs, its other cells carried along, so no text is ever lost.
// Only the rows of the page being written are held, whatever the number of rows.
//
// Pango shapes the text and cairo writes the PDF, so Kannada stays text in the file: conjuncts
// come back whole when the report is searched, copied or read aloud. Throws ReportError.
// With `first`, its pages are written into its own sink before the run goes on.
PdfOutcome writeReportPdf(const ReportTemplate& layout, RowSource& rows, const PdfSink& sink,
                          const ProgressFn& progress = {}, const FirstPages* first = nullptr);

} // namespace report
