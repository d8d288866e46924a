#include "FolderState.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

QStringList folderState(const QString& folder, bool withJournal)
{
    QStringList state;
    for (const QFileInfo& entry :
         QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (!withJournal && (entry.fileName().endsWith(QLatin1String("-shm")) ||
                             entry.fileName().endsWith(QLatin1String("-wal"))))
            continue;
        QFile file(entry.filePath());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        state << entry.fileName() + QLatin1Char(' ') +
                     QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
    }
    return state;
}
