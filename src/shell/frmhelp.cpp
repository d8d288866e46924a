#include "shell/frmhelp.h"

#include "data/ProgramFolder.h"
#include "shell/HelpBrowser.h"
#include "shell/ShellColours.h"
#include "shell/Twips.h"
#include "shell/WindowGround.h"

frmhelp::frmhelp(QWidget* parent) : QWidget(parent), WebBrowser1(new HelpBrowser(this))
{
    setObjectName(QStringLiteral("frmhelp"));
    setWindowTitle(QString());
    shell::paintGround(this);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setGeometry(twRect(360, 240, 11175, 7215));
    setWindowState(Qt::WindowMaximized);
    Form_Load();
}

QString frmhelp::helpPagePath()
{
    return data::resourceFolder() + QStringLiteral("/help.htm");
}

void frmhelp::Form_Load()
{
    WebBrowser1->Navigate(helpPagePath());
}
