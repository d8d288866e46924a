#include "preview/ReportPreview.h"

#include <algorithm>

#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPdfDocument>
#include <QPdfPageNavigator>
#include <QPdfView>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintEngine>
#include <QPrinter>
#include <QEventLoop>
#include <QPrinterInfo>
#include <QProgressBar>
#include <QProgressDialog>
#include <QShortcut>
#include <QStandardPaths>
#include <QThread>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/files/SafeOutput.h"
#include "platform/jet/JetError.h"
#include "platform/report/ReportError.h"
#include "platform/report/ReportPrinting.h"
#include "platform/varnel/KannadaDigits.h"
#include "preview/ReportWriting.h"

namespace report {

namespace {

// The CUPS options the print dialog set on the printer (odd or even pages, pages per sheet,
// ...), which QPrinter keeps as its engine's list of name, value, name, value.
QList<QPair<QString, QString>> dialogCupsOptions(QPrinter& printer)
{
    constexpr auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);
    const QStringList list = printer.printEngine()->property(kCupsOptions).toStringList();
    QList<QPair<QString, QString>> options;
    for (qsizetype i = 0; i + 1 < list.size(); i += 2)
        options.append({list[i], list[i + 1]});
    return options;
}

constexpr qreal kZoomStep = 1.25;

QToolButton* toolButton(const QString& text, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setAutoRaise(true);
    return button;
}

} // namespace

ReportPreview::ReportPreview(const ReportFile& report, Messenger messenger, QWidget* parent,
                             FileChooser chooser)
    : QWidget(parent, Qt::Window), m_messenger(std::move(messenger)), m_chooser(std::move(chooser)),
      m_report(report)
{
    setObjectName(QStringLiteral("ReportPreview"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(report.title);
    resize(1000, 720);

    // Read from its scratch file page by page as they are shown, never held whole.
    m_document = new QPdfDocument(this);
    m_document->load(report.path());

    m_view = new QPdfView(this);
    m_view->setObjectName(QStringLiteral("PdfView"));
    m_view->setDocument(m_document);
    m_view->setPageMode(QPdfView::PageMode::MultiPage);
    m_view->setZoomMode(QPdfView::ZoomMode::FitToWidth);

    auto* bar = new QHBoxLayout;
    const auto add = [&](const char* name, const QString& text, void (ReportPreview::*slot)()) {
        QToolButton* b = toolButton(text, this);
        b->setObjectName(QLatin1String(name));
        connect(b, &QToolButton::clicked, this, slot);
        bar->addWidget(b);
        return b;
    };
    add("Previous", QStringLiteral(u"◀ ಹಿಂದಿನ ಪುಟ"), &ReportPreview::previousPage);
    m_pageNumber = new QLabel(this);
    m_pageNumber->setObjectName(QStringLiteral("PageNumber"));
    bar->addWidget(m_pageNumber);
    add("Next", QStringLiteral(u"ಮುಂದಿನ ಪುಟ ▶"), &ReportPreview::nextPage);
    bar->addSpacing(16);
    add("ZoomOut", QStringLiteral(u"− ಕುಗ್ಗಿಸು"), &ReportPreview::zoomOut);
    add("ZoomIn", QStringLiteral(u"+ ಹಿಗ್ಗಿಸು"), &ReportPreview::zoomIn);
    add("FitWidth", QStringLiteral(u"ಅಗಲಕ್ಕೆ ಹೊಂದಿಸು"), &ReportPreview::fitWidth);
    bar->addStretch();
    m_print = add("Print", QStringLiteral(u"ಮುದ್ರಿಸು…"), &ReportPreview::print);
    m_save = add("SaveAs", QStringLiteral(u"PDF ಆಗಿ ಉಳಿಸು…"), &ReportPreview::saveAs);
    QToolButton* closing = toolButton(QStringLiteral(u"ಮುಚ್ಚು ✕"), this);
    closing->setObjectName(QStringLiteral("Close"));
    connect(closing, &QToolButton::clicked, this, &QWidget::close);
    bar->addWidget(closing);

    m_run = new QWidget(this);
    auto* run = new QHBoxLayout(m_run);
    run->setContentsMargins(0, 0, 0, 0);
    m_runText = new QLabel(m_run);
    m_runText->setObjectName(QStringLiteral("RunProgress"));
    run->addWidget(m_runText);
    m_runBar = new QProgressBar(m_run);
    m_runBar->setTextVisible(false);
    run->addWidget(m_runBar, 1);
    QToolButton* stop = toolButton(QStringLiteral(u"ನಿಲ್ಲಿಸು"), m_run);
    stop->setObjectName(QStringLiteral("Stop"));
    connect(stop, &QToolButton::clicked, this, &QWidget::close);
    run->addWidget(stop);
    m_run->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(bar);
    layout->addWidget(m_run);
    layout->addWidget(m_view, 1);

    connect(m_view->pageNavigator(), &QPdfPageNavigator::currentPageChanged, this,
            &ReportPreview::showPageNumber);
    showPageNumber();
    addKeys();
}

// Everything by keyboard as well; Print and Save wait, as their buttons do, for a report still
// being written.
void ReportPreview::addKeys()
{
    const auto key = [this](QKeySequence keys, const std::function<void()>& act) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, act);
    };
    key(Qt::Key_Escape, [this] { close(); });
    key(QKeySequence::Close, [this] { close(); }); // Ctrl+W
    key(QKeySequence::Print, [this] {
        if (m_print->isEnabled())
            print();
    });
    key(QKeySequence::Save, [this] {
        if (m_save->isEnabled())
            saveAs();
    });
    key(Qt::Key_PageUp, [this] { previousPage(); });
    key(Qt::Key_PageDown, [this] { nextPage(); });
    key(Qt::Key_Home, [this] { goTo(0); });
    key(Qt::Key_End, [this] { goTo(m_document->pageCount() - 1); });
    for (QKeySequence in :
         {QKeySequence(QKeySequence::ZoomIn), QKeySequence(Qt::CTRL | Qt::Key_Equal)})
        key(in, [this] { zoomIn(); });
    key(QKeySequence::ZoomOut, [this] { zoomOut(); });
}

int ReportPreview::currentPage() const
{
    return m_view->pageNavigator()->currentPage();
}

void ReportPreview::showPageNumber()
{
    const QString pages = !m_writing         ? QString::number(m_document->pageCount())
                          : m_totalPages > 0 ? QString::number(m_totalPages)
                                             : QStringLiteral(u"…");
    m_pageNumber->setText(
        varnel::kannadaDigits(QStringLiteral(u"ಪುಟ %1 / %2").arg(currentPage() + 1).arg(pages)));
}

void ReportPreview::follow(ReportWriting* writing)
{
    m_writing = writing;
    writing->setParent(this);
    connect(writing, &ReportWriting::progressed, this, &ReportPreview::showProgress);
    connect(writing, &ReportWriting::finished, this, &ReportPreview::showWhole);
    connect(writing, &ReportWriting::failed, this, [this](const QString& text) {
        tell(text);
        close();
    });
    m_print->setEnabled(false);
    m_save->setEnabled(false);
    m_runText->setText(QStringLiteral(u"ವರದಿಯ ಪುಟಗಳನ್ನು ಎಣಿಸಲಾಗುತ್ತಿದೆ…"));
    m_runBar->setRange(0, 0);
    m_run->show();
    showPageNumber();
}

void ReportPreview::showProgress(const ReportProgress& p)
{
    m_runText->setText(varnel::kannadaDigits(
        p.writing
            ? QStringLiteral(u"ವರದಿಯ ಪುಟಗಳನ್ನು ಬರೆಯಲಾಗುತ್ತಿದೆ: %1 / %2").arg(p.pages).arg(p.totalPages)
            : QStringLiteral(u"ವರದಿಯ ಪುಟಗಳನ್ನು ಎಣಿಸಲಾಗುತ್ತಿದೆ: %1").arg(p.pages)));
    m_runBar->setRange(0, 2 * std::max(p.rows, 1));
    m_runBar->setValue((p.writing ? p.rows : 0) + p.rowsDone);
    if (p.writing && m_totalPages != p.totalPages) {
        m_totalPages = p.totalPages;
        showPageNumber();
    }
}

void ReportPreview::showWhole(const ReportFile& report)
{
    // The same page, at the same place on it and the same zoom.
    QPdfPageNavigator* navigator = m_view->pageNavigator();
    const int page = currentPage();
    const QPointF where = navigator->currentLocation();
    const qreal zoom = m_view->zoomFactor();
    m_report = report;
    m_document->load(report.path());
    navigator->jump(std::clamp(page, 0, std::max(0, m_document->pageCount() - 1)), where, zoom);
    m_writing->deleteLater();
    m_writing = nullptr;
    m_run->hide();
    m_print->setEnabled(true);
    m_save->setEnabled(true);
    showPageNumber();
    if (!report.notes.isEmpty())
        tell(report.notes.join(QLatin1Char('\n')));
    emit completed();
}

void ReportPreview::goTo(int page)
{
    page = std::clamp(page, 0, std::max(0, m_document->pageCount() - 1));
    m_view->pageNavigator()->jump(page, QPointF(), m_view->zoomFactor());
    showPageNumber();
}

void ReportPreview::previousPage()
{
    goTo(currentPage() - 1);
}

void ReportPreview::nextPage()
{
    goTo(currentPage() + 1);
}

void ReportPreview::zoomIn()
{
    zoomTo(std::min(m_view->zoomFactor() * kZoomStep, 8.0));
}

void ReportPreview::zoomOut()
{
    zoomTo(std::max(m_view->zoomFactor() / kZoomStep, 0.1));
}

// The view keeps its scroll position as the pages grow or shrink, which shows another page
// (a zoom on page 6 showed page 3): the page being read is shown again at the new zoom. The
// view scrolls to a page only when the navigator's page changes, so it goes there by a
// neighbour.
void ReportPreview::zoomTo(qreal factor)
{
    const int page = currentPage();
    m_view->setZoomMode(QPdfView::ZoomMode::Custom);
    m_view->setZoomFactor(factor);
    showPageAgain(page);
}

void ReportPreview::fitWidth()
{
    const int page = currentPage();
    m_view->setZoomMode(QPdfView::ZoomMode::FitToWidth);
    showPageAgain(page);
}

void ReportPreview::showPageAgain(int page)
{
    if (m_document->pageCount() < 2)
        return;
    QPdfPageNavigator* navigator = m_view->pageNavigator();
    navigator->jump(page > 0 ? page - 1 : page + 1, QPointF(), m_view->zoomFactor());
    navigator->jump(page, QPointF(), m_view->zoomFactor());
}

void ReportPreview::tell(const QString& text)
{
    if (m_messenger)
        m_messenger(text, this);
    else
        QMessageBox::warning(this, windowTitle(), text);
}

void ReportPreview::print()
{
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        tell(QStringLiteral(u"ಈ ಗಣಕದಲ್ಲಿ ಯಾವ ಮುದ್ರಕವೂ (ಪ್ರಿಂಟರ್) ಅಳವಡಿಕೆಯಾಗಿಲ್ಲ. ಮುದ್ರಕವನ್ನು "
                            u"ಅಳವಡಿಸಿ, ಅಥವಾ ವರದಿಯನ್ನು PDF ಆಗಿ ಉಳಿಸಿ."));
        return;
    }
    const int pages = m_document->pageCount();
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(windowTitle());
    const QSizeF first = m_document->pagePointSize(0);
    printer.setPageOrientation(first.width() > first.height() ? QPageLayout::Landscape
                                                              : QPageLayout::Portrait);
    printer.setFromTo(1, pages);
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, pages);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, true);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // "Print to file" writes the PDF as it is.
    if (!printer.outputFileName().isEmpty()) {
        saveTo(printer.outputFileName());
        return;
    }
    PrintRequest request;
    request.printer = printer.printerName();
    request.title = windowTitle();
    request.copies = printer.copyCount();
    if (printer.printRange() == QPrinter::PageRange) {
        request.firstPage = printer.fromPage();
        request.lastPage = printer.toPage();
        request.pageRanges = printer.pageRanges().toString(); // "1-3,7": every range typed
    } else if (printer.printRange() == QPrinter::CurrentPage) {
        request.firstPage = request.lastPage = currentPage() + 1;
    }
    switch (printer.duplex()) {
    case QPrinter::DuplexNone: request.sides = PrintRequest::Sides::OneSided; break;
    case QPrinter::DuplexLongSide: request.sides = PrintRequest::Sides::LongEdge; break;
    case QPrinter::DuplexShortSide: request.sides = PrintRequest::Sides::ShortEdge; break;
    case QPrinter::DuplexAuto: break;
    }
    request.media = printer.pageLayout().pageSize().key();
    request.dialogOptions = dialogCupsOptions(printer);
    printTo(request);
}

void ReportPreview::printTo(const PrintRequest& request)
{
    // The PDF itself goes to CUPS off this thread; the window stays usable meanwhile.
    auto* progress = new QProgressDialog(
        QStringLiteral(u"ವರದಿಯನ್ನು ಮುದ್ರಕ (ಪ್ರಿಂಟರ್) %1ಕ್ಕೆ ಕಳಿಸಲಾಗುತ್ತಿದೆ…").arg(request.printer), QString(),
        0, 0, this);
    progress->setObjectName(QStringLiteral("PrintProgress"));
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(0);
    progress->show();
    m_print->setEnabled(false);
    auto failure = std::make_shared<QString>();
    QThread* thread = QThread::create([path = m_report.path(), request, failure] {
        try {
            printPdf(path, request);
        } catch (const ReportError& error) {
            *failure = error.text();
        }
    });
    // The scratch file stays while the job is handed over, even if this window closes.
    connect(thread, &QThread::finished, thread,
            [thread, keep = m_report] { thread->deleteLater(); });
    connect(thread, &QThread::finished, this, [this, progress, failure] {
        progress->deleteLater();
        m_print->setEnabled(true);
        if (!failure->isEmpty())
            tell(*failure);
        emit printed(failure->isEmpty());
    });
    thread->start();
}

void ReportPreview::saveAs()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString title = QStringLiteral(u"ವರದಿಯನ್ನು PDF ಆಗಿ ಉಳಿಸು");
    const QString suggested = folder + QLatin1Char('/') + windowTitle() + QStringLiteral(".pdf");
    const QString filter = QStringLiteral("PDF (*.pdf)");
    const QString path = m_chooser ? m_chooser(this, title, suggested, filter)
                                   : QFileDialog::getSaveFileName(this, title, suggested, filter);
    if (!path.isEmpty())
        saveTo(path);
}

QByteArray ReportPreview::pdf() const
{
    QFile file(m_report.path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool ReportPreview::saveTo(const QString& path)
{
    try {
        // Copied a block at a time, written whole or not at all.
        QFile source(m_report.path());
        if (!source.open(QIODevice::ReadOnly))
            throw jet::JetError(jet::errors::kFileNotFound,
                                QStringLiteral(u"ವರದಿಯ ತಾತ್ಕಾಲಿಕ ಕಡತ %1 ಓದಲಾಗಲಿಲ್ಲ: %2")
                                    .arg(source.fileName(), source.errorString()));
        files::SafeOutput output(path);
        constexpr qint64 kBlock = 1 << 20;
        while (!source.atEnd()) {
            const QByteArray block = source.read(kBlock);
            if (block.isEmpty())
                throw jet::JetError(jet::errors::kFileNotFound,
                                    QStringLiteral(u"ವರದಿಯ ತಾತ್ಕಾಲಿಕ ಕಡತ %1 ಓದಲಾಗಲಿಲ್ಲ: %2")
                                        .arg(source.fileName(), source.errorString()));
            output.write(block);
        }
        output.commit();
        return true;
    } catch (const jet::JetError& error) {
        tell(error.text());
    }
    return false;
}

ReportControl::Starter previewStarter(QWidget* owner, Messenger messenger, FileChooser chooser)
{
    QPointer<QWidget> parent(owner);
    return [parent, messenger, chooser](const QString& templatePath, const DiaryOpener& open) {
        auto* writing = new ReportWriting(readStagedReport(templatePath, open));
        // Over the owner's window (the main window), so a preview outlives the report window
        // that made it.
        const auto preview = [&](const ReportFile& report) {
            auto* window =
                new ReportPreview(report, messenger, parent ? parent->window() : nullptr, chooser);
            window->show();
            window->raise();
            window->activateWindow();
            return window;
        };
        QString failure;
        QEventLoop wait;
        QObject::connect(writing, &ReportWriting::firstPages, &wait, [&](const ReportFile& pages) {
            preview(pages)->follow(writing);
            wait.quit();
        });
        QObject::connect(writing, &ReportWriting::finished, &wait, [&](const ReportFile& report) {
            ReportPreview* window = preview(report);
            // Said once, over the report it concerns.
            if (!report.notes.isEmpty() && messenger)
                messenger(report.notes.join(QLatin1Char('\n')), window);
            writing->deleteLater();
            wait.quit();
        });
        QObject::connect(writing, &ReportWriting::failed, &wait, [&](const QString& text) {
            failure = text;
            writing->deleteLater();
            wait.quit();
        });
        writing->start();
        // Until the first pages or a short report are written; the windows stay painted.
        wait.exec(QEventLoop::ExcludeUserInputEvents);
        if (!failure.isEmpty())
            throw ReportError(failure);
    };
}

} // namespace report
