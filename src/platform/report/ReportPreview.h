#pragma once

#include <functional>

#include <memory>

#include <QWidget>

#include "platform/report/ReportControl.h"
#include "platform/report/ReportPrinting.h"
#include "platform/report/ReportRun.h"

class QLabel;
class QToolButton;
class QPdfDocument;
class QPdfView;

namespace report {

// Shows a message to the user (Unicode Kannada); the program passes its message dialog.
using Messenger = std::function<void(const QString& text, QWidget* parent)>;
// Asks where to save the PDF (title, suggested path, filter); an empty text when cancelled.
// The program passes its own chooser, which checks the file and asks in Kannada.
using FileChooser = std::function<QString(QWidget* parent, const QString& title,
                                          const QString& suggested, const QString& filter)>;

// The report's preview: its own window showing the pages, with zoom, paging, Print (the
// system's printers through Qt's print dialog) and Save as PDF. Closing it deletes it.
class ReportPreview : public QWidget {
    Q_OBJECT
public:
    ReportPreview(const ReportFile& report, Messenger messenger, QWidget* parent = nullptr,
                  FileChooser chooser = {});

    QPdfDocument* document() const { return m_document; }
    QPdfView* view() const { return m_view; }
    int currentPage() const;
    // The PDF shown, read from its scratch file.
    QByteArray pdf() const;
    QString pdfPath() const { return m_report.path(); }

public slots:
    void previousPage();
    void nextPage();
    void zoomIn();
    void zoomOut();
    void fitWidth();
    // The print dialog, then the PDF itself to the chosen printer (printTo). Without any
    // printer installed it says so instead of opening the dialog.
    void print();
    void saveAs();

public:
    // Writes the PDF whole or not at all; on failure the user is told and false comes back.
    bool saveTo(const QString& path);
    // Hands the PDF to CUPS as `request` says, with progress shown while the window stays
    // usable; a failure is told to the user. printed() says when it is done.
    void printTo(const PrintRequest& request);

signals:
    void printed(bool sent);

private:
    void showPageNumber();
    void goTo(int page);
    void tell(const QString& text);

    Messenger m_messenger;
    FileChooser m_chooser;
    ReportFile m_report;
    QPdfDocument* m_document;
    QPdfView* m_view;
    QLabel* m_pageNumber;
    QToolButton* m_print;
};

// Runs `control`'s template (Action = 1). A run that takes more than a moment shows how far it
// has come (pages counted, then pages written) in a dialog over `owner`, keeps the program's
// windows painted meanwhile, and stops when the user cancels (nothing is shown then).
void runWithProgress(ReportControl& control, QWidget* owner);

// A report control destination that opens a new preview window for every report, as a
// window of its own over `owner`'s window.
ReportControl::Destination previewDestination(QWidget* owner, Messenger messenger,
                                              FileChooser chooser = {});

} // namespace report
