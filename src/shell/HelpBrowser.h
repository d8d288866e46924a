#pragma once

#include <QTextBrowser>

// The help window's browser. A page that cannot be read is answered with a page of its own
// saying so, in Kannada, inside the window.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpBrowser(QWidget* parent = nullptr);

    // Loads and shows the page at `path`; the caller does not wait for or look at the result.
    void Navigate(const QString& path);

    static QString notFoundPage(const QString& path);

protected:
    QVariant loadResource(int type, const QUrl& name) override;
};
