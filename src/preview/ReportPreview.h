#pragma once

#include <functional>

#include <memory>

#include <QWidget>

#include "platform/report/ReportControl.h"
#include "platform/report/ReportPrinting.h"
#include "platform/report/ReportRun.h"

class QLabel;
class QProgressBar;
class QToolButton;
class QPdfDocument;
class QPdfView;

namespace report {

class ReportWriting;

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
    // False while the report shown is its first pages and the rest is being laid out.
    bool isComplete() const { return !m_writing; }

    // Shows `writing`'s progress with a button that stops it (and closes this window), and its
    // whole report once it is written, at the page being read. Print and Save as PDF wait for
    // it. Takes `writing`.
    void follow(ReportWriting* writing);

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
    // The whole report is shown.
    void completed();

private:
    void addKeys();
    void showPageNumber();
    void goTo(int page);
    void zoomTo(qreal factor);
    // Shows `page` again after a change of zoom (the view would keep its scroll position).
    void showPageAgain(int page);
    void tell(const QString& text);
    void showProgress(const ReportProgress& progress);
    void showWhole(const ReportFile& report);

    Messenger m_messenger;
    FileChooser m_chooser;
    ReportFile m_report;
    QPdfDocument* m_document;
    QPdfView* m_view;
    QLabel* m_pageNumber;
    QToolButton* m_print;
    QToolButton* m_save;
    ReportWriting* m_writing = nullptr;
    int m_totalPages = 0; // while writing, once counted
    QWidget* m_run;       // the progress of the rest and its stop button, while writing
    QProgressBar* m_runBar;
    QLabel* m_runText;
};

// A report control starter (Action = 1) that reads the staged rows, then lays the report out on
// a thread of its own and opens a preview window over `owner`'s window: with the first pages
// within a moment when there are more, the rest shown when written (see ReportPreview::follow);
// at once with the whole report when it is short. A failure before the preview opens is thrown.
ReportControl::Starter previewStarter(QWidget* owner, Messenger messenger,
                                      FileChooser chooser = {});

} // namespace report
