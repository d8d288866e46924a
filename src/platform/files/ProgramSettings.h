#pragma once

#include <QSettings>
#include <QString>
#include <QVariant>

#include "platform/files/FolderSync.h"

// The program's own settings, ~/.config/Velmora/Velmora.ini (the keyboard layout, the clash
// rule's minutes). QSettings already writes that file the safe way: into a temporary file beside
// it (QSaveFile, with no fallback to writing in place, as QSettings requires an atomic sync by
// default), synced and renamed over it. What it leaves out is the folder's sync after the
// rename, done here. Its path is fixed under the user's configuration folder, never a file the
// user names, so it needs no output check. Inline, as the keyboard links Qt Core only.
namespace files {

inline QVariant programSetting(const QString& key)
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Velmora"),
                     QStringLiteral("Velmora"))
        .value(key);
}

// Writes the setting at once; false when the file could not be written (the setting then holds
// for this run only).
inline bool setProgramSetting(const QString& key, const QVariant& value)
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Velmora"),
                       QStringLiteral("Velmora"));
    settings.setValue(key, value);
    settings.sync();
    return settings.status() == QSettings::NoError &&
           syncFolder(folderOf(settings.fileName())) == 0;
}

} // namespace files
