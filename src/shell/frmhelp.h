#pragma once

#include <QWidget>

class HelpBrowser;

// The help window: a maximised child window of the main window showing help.htm from the
// program's folder. It navigates once, when it loads.
class frmhelp : public QWidget {
    Q_OBJECT
public:
    explicit frmhelp(QWidget* parent = nullptr);

    // The program's folder followed by the page's name.
    static QString helpPagePath();

    HelpBrowser* WebBrowser1;

private:
    void Form_Load();
};
