#include "platform/report/PdfReportWriter.h"

#include <memory>

#include <cairo-pdf.h>

#include "platform/report/PdfStream.h"
#include "platform/report/ReportError.h"
#include "platform/report/ReportPainter.h"
#include "platform/report/ReportTemplate.h"
#include "platform/report/StagingTable.h"

namespace report {

namespace {

using pdf::PdfStream;
using pdf::ReportPainter;

struct CairoDestroy {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
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
