#include "data/ProgramFolder.h"

#include <QCoreApplication>

namespace data {

namespace {

QString& overriddenFolder()
{
    static QString folder;
    return folder;
}

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

} // namespace data
