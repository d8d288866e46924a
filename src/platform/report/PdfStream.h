#pragma once

#include <exception>

#include <cairo.h>

#include <QByteArray>

#include "platform/report/PdfReportWriter.h"

namespace report::pdf {

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

} // namespace report::pdf
