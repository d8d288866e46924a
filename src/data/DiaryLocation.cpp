#include "data/DiaryLocation.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QScopeGuard>

#include "data/DiaryDatabase.h"
#include "data/ProgramFolder.h"
#include "platform/files/NativeFiles.h"
#include "platform/jet/JetError.h"
#include "platform/paths/NativePath.h"

namespace data {

namespace {

struct DiaryHome {
    QString folder;
    bool ownDataFolder = false; // the user's own data folder, not the program's
};

bool holdsDiary(const QString& folder)
{
    for (const QString& name : files::fileNames(folder)) {
        if ((name.compare(QLatin1String(kDiaryFileName), Qt::CaseInsensitive) == 0 ||
             name.compare(QLatin1String(kSettingsFileName), Qt::CaseInsensitive) == 0) &&
            files::isFile(folder + QLatin1Char('/') + name))
            return true;
    }
    return false;
}

// By the effective user, the one whose files the program makes.
bool mayWrite(const QString& folder)
{
    return ::faccessat(AT_FDCWD, files::nativePath(folder).constData(), W_OK | X_OK, AT_EACCESS) ==
           0;
}

QString environmentPath(const char* name)
{
    return files::fromNativePath(qgetenv(name));
}

// $XDG_DATA_HOME, unless unset, empty or relative (which the XDG rules say to ignore).
QString userDataFolder()
{
    const QString xdg = environmentPath("XDG_DATA_HOME");
    if (xdg.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(xdg);
    QString home = environmentPath("HOME");
    if (!home.startsWith(QLatin1Char('/')))
        home = QDir::homePath();
    return QDir::cleanPath(home + QStringLiteral("/.local/share"));
}

// Makes `folder` and every missing folder above it 0700; what exists is left as it is.
void makePrivateFolder(const QString& folder)
{
    qsizetype at = 0;
    while (at >= 0) {
        at = folder.indexOf(QLatin1Char('/'), at + 1);
        const QString step = at < 0 ? folder : folder.left(at);
        if (!files::isFolder(step))
            ::mkdir(files::nativePath(step).constData(), 0700);
    }
}

DiaryHome diaryHome()
{
    const QString program = programFolder();
    const bool installedSystemWide = resourceFolder() != program;
    if (holdsDiary(program) || (!installedSystemWide && mayWrite(program)))
        return {program, false};
    const QString folder = userDataFolder() + QStringLiteral("/Velmora");
    makePrivateFolder(folder);
    return {folder, true};
}

} // namespace

QString diaryFolder()
{
    return diaryHome().folder;
}

QString diaryPath()
{
    return diaryFolder() + QLatin1Char('/') + QLatin1String(kDiaryFileName);
}

void prepareDiary()
{
    const DiaryHome home = diaryHome();
    if (!home.ownDataFolder || !files::isFolder(home.folder) || holdsDiary(home.folder))
        return;
    // SQLite makes the file (and later its journal) with the bits the umask leaves.
    const mode_t previous = ::umask(077);
    const auto restore = qScopeGuard([previous] { ::umask(previous); });
    try {
        OpenDiaryFile(home.folder + QLatin1Char('/') + QLatin1String(kDiaryFileName));
    } catch (const jet::JetError&) {
        // Said again, with the diary's name, where the program first opens it.
    }
}

} // namespace data
