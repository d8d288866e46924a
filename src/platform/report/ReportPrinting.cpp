#include "platform/report/ReportPrinting.h"

#include <algorithm>

#include <cups/cups.h>

#include "platform/report/ReportError.h"

namespace report {

namespace {

QString cupsSays()
{
    return QString::fromUtf8(cupsLastErrorString());
}

bool isDefault(const QString& printer)
{
    return printer.isEmpty() || printer.compare(QLatin1String("default"), Qt::CaseInsensitive) == 0;
}

} // namespace

QString resolvePrinter(const QString& printer)
{
    const QByteArray name = printer.toUtf8();
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT,
                                         isDefault(printer) ? nullptr : name.constData(), nullptr);
    if (!dest) {
        if (isDefault(printer))
            throw ReportError(
                QStringLiteral(u"ಪೂರ್ವನಿಯೋಜಿತ ಮುದ್ರಕ (ಪ್ರಿಂಟರ್) ಯಾವುದೂ ಇಲ್ಲ: %1").arg(cupsSays()));
        throw ReportError(QStringLiteral(u"ಮುದ್ರಕ (ಪ್ರಿಂಟರ್) %1 ಸಿಗಲಿಲ್ಲ: %2").arg(printer, cupsSays()));
    }
    const QString resolved = QString::fromUtf8(dest->name);
    cupsFreeDests(1, dest);
    return resolved;
}

QStringList printerNames()
{
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    QStringList names;
    for (int i = 0; i < count; ++i) {
        if (dests[i].instance)
            continue;
        const QString name = QString::fromUtf8(dests[i].name);
        if (dests[i].is_default)
            names.prepend(name);
        else
            names << name;
    }
    cupsFreeDests(count, dests);
    return names;
}

int printPdf(const QString& pdfPath, const PrintRequest& request)
{
    const QString printer = resolvePrinter(request.printer);
    int count = 0;
    cups_option_t* options = nullptr;
    const auto add = [&](const char* name, const QString& value) {
        count = cupsAddOption(name, value.toUtf8().constData(), count, &options);
    };
    for (const auto& [name, value] : request.dialogOptions)
        add(name.toUtf8().constData(), value);
    if (request.copies > 1)
        add("copies", QString::number(request.copies));
    if (!request.pageRanges.isEmpty())
        add("page-ranges", request.pageRanges);
    else if (request.firstPage > 0 || request.lastPage > 0)
        add("page-ranges",
            QStringLiteral("%1-%2")
                .arg(std::max(request.firstPage, 1))
                .arg(request.lastPage > 0 ? QString::number(request.lastPage) : QString()));
    switch (request.sides) {
    case PrintRequest::Sides::OneSided: add("sides", QStringLiteral("one-sided")); break;
    case PrintRequest::Sides::LongEdge: add("sides", QStringLiteral("two-sided-long-edge")); break;
    case PrintRequest::Sides::ShortEdge:
        add("sides", QStringLiteral("two-sided-short-edge"));
        break;
    case PrintRequest::Sides::PrinterDefault: break;
    }
    if (!request.media.isEmpty())
        add("media", request.media);
    const int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, printer.toUtf8().constData(),
                                   pdfPath.toLocal8Bit().constData(),
                                   request.title.toUtf8().constData(), count, options);
    cupsFreeOptions(count, options);
    if (job == 0)
        throw ReportError(
            QStringLiteral(u"ವರದಿಯನ್ನು ಮುದ್ರಕ (ಪ್ರಿಂಟರ್) %1ಕ್ಕೆ ಕಳಿಸಲಾಗಲಿಲ್ಲ: %2").arg(printer, cupsSays()));
    return job;
}

} // namespace report
