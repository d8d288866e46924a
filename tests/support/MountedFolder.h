#pragma once

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>

// A folder made unwritable or tiny for one test, undone when the object goes. Root writes
// through any permission bits, so as root the folder is bound onto itself read-only, or a small
// tmpfs is mounted on it; where mount is refused, active() is false and the test skips.
class MountedFolder {
public:
    enum class Kind { ReadOnly, Full };

    MountedFolder(const QString& folder, Kind kind) : m_folder(folder)
    {
        QDir().mkpath(folder);
        if (kind == Kind::ReadOnly && ::geteuid() != 0) {
            m_chmodded = QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
            return;
        }
        if (kind == Kind::ReadOnly) {
            m_mounted = mount({QStringLiteral("--bind"), folder, folder});
            if (m_mounted &&
                !mount({QStringLiteral("-o"), QStringLiteral("remount,ro,bind"), folder}))
                unmount();
        } else {
            m_mounted = mount({QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                               QStringLiteral("size=16k"), QStringLiteral("tmpfs"), folder});
        }
    }
    ~MountedFolder()
    {
        if (m_chmodded)
            QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        unmount();
    }
    MountedFolder(const MountedFolder&) = delete;
    MountedFolder& operator=(const MountedFolder&) = delete;

    bool active() const { return m_mounted || m_chmodded; }

private:
    static bool mount(const QStringList& arguments)
    {
        QProcess process;
        process.start(QStringLiteral("mount"), arguments);
        return process.waitForFinished() && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0;
    }
    void unmount()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {m_folder});
        m_mounted = false;
    }

    QString m_folder;
    bool m_mounted = false;
    bool m_chmodded = false;
};
