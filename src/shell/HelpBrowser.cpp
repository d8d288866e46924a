#include "shell/HelpBrowser.h"

#include <QFileInfo>
#include <QTextDocument>
#include <QUrl>

#include "widgets/VarnelFonts.h"

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent)
{
    document()->setDefaultFont(varnel::varnelFont(varnel::VarnelFont::Akshara, 12));
    setOpenExternalLinks(false);
}

void HelpBrowser::Navigate(const QString& path)
{
    setSource(QUrl::fromLocalFile(path), QTextDocument::HtmlResource);
}

QString HelpBrowser::notFoundPage(const QString& path)
{
    return QStringLiteral(u"<html><body style=\"background:#ffffff\">"
                          u"<h2 style=\"color:#800000\">ಸಹಾಯ ಪುಟ ಸಿಗಲಿಲ್ಲ</h2>"
                          u"<p>ಈ ಕಡತವನ್ನು ತೆರೆಯಲು ಆಗಲಿಲ್ಲ:</p>"
                          u"<p><tt>%1</tt></p>"
                          u"<p>ಸಹಾಯ ಪುಟ <tt>help.htm</tt> ತಂತ್ರಾಂಶದ ಕಡತಕೋಶದಲ್ಲಿಯೇ ಇರಬೇಕು. "
                          u"ತಂತ್ರಾಂಶವನ್ನು ಮತ್ತೆ ಅನುಸ್ಥಾಪಿಸಿದರೆ ಅದು ಮರಳಿ ಬರುತ್ತದೆ.</p>"
                          u"</body></html>")
        .arg(path.toHtmlEscaped());
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name)
{
    if (type == QTextDocument::HtmlResource && name.isLocalFile()) {
        const QFileInfo file(name.toLocalFile());
        if (!file.isFile() || !file.isReadable())
            return notFoundPage(file.filePath());
    }
    return QTextBrowser::loadResource(type, name);
}
