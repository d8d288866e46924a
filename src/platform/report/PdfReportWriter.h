#pragma once

#include <QByteArray>

namespace report {

struct ReportTemplate;
struct StagingTable;

struct RenderedPdf {
    QByteArray bytes;
    int pages = 0;
};

// Lays the staging rows out as the template says and writes a PDF: the title and range on
// every page, the table's heading row repeated on every page, long texts wrapped inside their
// cells, the footer (page X of Y) at the foot of each page.
//
// Pango shapes the text and cairo writes the PDF, so Kannada stays text in the file: conjuncts
// come back whole when the report is searched, copied or read aloud.
RenderedPdf writeReportPdf(const ReportTemplate& layout, const StagingTable& table);

} // namespace report
