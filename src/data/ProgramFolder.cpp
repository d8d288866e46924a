#include "data/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace data {

namespace {

QString& overriddenFolder()
{
    static QString folder;
    return folder;
}

// The file whose presence says that a folder holds the program's resources.
const QString kHelpPage = QStringLiteral("help.htm");

} // namespace

QString programFolder()
{
    if (!overriddenFolder().isEmpty())
        return overriddenFolder();
    return QCoreApplication::applicationDirPath();
}

void setProgramFolder(const QString& folder)
{
    overriddenFolder() = folder;
}

QString resourceFolder()
{
    const QString own = programFolder();
    if (QFileInfo::exists(own + QLatin1Char('/') + kHelpPage))
        return own;
    const QString shared =
        QDir::cleanPath(own + QLatin1Char('/') + QStringLiteral(VELMORA_DATA_FROM_PROGRAMS));
    if (QFileInfo::exists(shared + QLatin1Char('/') + kHelpPage))
        return shared;
    return own;
}

} // namespace data
