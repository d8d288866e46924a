#include "shell/SaveFileChooser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/files/FileChecks.h"
#include "platform/jet/JetError.h"
#include "shell/frmmsg.h"
#include "shell/frmquestion.h"

namespace shell {

namespace {

// '%1' exists already. Replace it?
const QString kReplaceQuestion = QStringLiteral(u"'%1' ಕಡತ ಈಗಾಗಲೇ ಇದೆ. ಅದರ ಬದಲಿಗೆ ಇದನ್ನು ಉಳಿಸಬೇಕೆ?");

// Where the last save of this run went.
QString& lastFolder()
{
    static QString folder;
    return folder;
}

QString startFolder()
{
    if (!lastFolder().isEmpty() && QFileInfo(lastFolder()).isDir())
        return lastFolder();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

} // namespace

QString chooseSaveFile(QWidget* parent, const QString& title, const QString& suggested,
                       const QString& filter)
{
    QString start = QDir(startFolder()).filePath(QFileInfo(suggested).fileName());
    for (;;) {
        // The overwrite question is the program's own, below, in Kannada.
        const QString path = QFileDialog::getSaveFileName(parent, title, start, filter, nullptr,
                                                          QFileDialog::DontConfirmOverwrite |
                                                              QFileDialog::DontUseNativeDialog);
        if (path.isEmpty())
            return {};
        start = path;
        try {
            files::checkOutputTarget(path);
        } catch (const jet::JetError& refused) {
            frmmsg::showText(refused.text(), parent);
            continue;
        }
        if (!QFileInfo::exists(path) ||
            frmquestion::askText(kReplaceQuestion.arg(QDir::toNativeSeparators(path)), parent)) {
            lastFolder() = QFileInfo(path).absolutePath();
            return path;
        }
    }
}

} // namespace shell
