#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace report {

// A report to print through CUPS and the choices made for it.
struct PrintRequest {
    enum class Sides { PrinterDefault, OneSided, LongEdge, ShortEdge };

    QString printer; // a CUPS queue; empty or "default": the default printer
    QString title;   // the job's name in the queue
    int copies = 1;
    int firstPage = 0; // 1-based; 0 with lastPage 0: every page
    int lastPage = 0;
    QString pageRanges; // CUPS's form ("1-3,7"), in place of first and last page when given
    Sides sides = Sides::PrinterDefault;
    QString media; // a paper CUPS knows ("A4", "Letter"); empty: the printer's own
    // Further CUPS options as a print dialog chose them (name, value: "page-set", "odd"),
    // handed on as they stand; the fields above win over any of the same name.
    QList<QPair<QString, QString>> dialogOptions;
};

// The queue `printer` names (empty or "default": the default printer), as CUPS spells it.
// Throws ReportError when there is no such queue (or no default), naming what was asked for.
QString resolvePrinter(const QString& printer);

// The CUPS queues, the default first.
QStringList printerNames();

// Hands the PDF file itself to CUPS, so the text stays text and the job is the size of the
// file; returns the job's number. Blocks while the file is handed over (run it off the window's
// thread). Throws ReportError with what CUPS said.
int printPdf(const QString& pdfPath, const PrintRequest& request);

} // namespace report
