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

    MountedFolder(const QString& folder, Kind kind) : folder_(folder)
    {
        QDir().mkpath(folder);
        if (kind == Kind::ReadOnly && ::geteuid() != 0) {
            chmodded_ = QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
            return;
        }
        if (kind == Kind::ReadOnly) {
            mounted_ = mount({QStringLiteral("--bind"), folder, folder});
            if (mounted_ &&
                !mount({QStringLiteral("-o"), QStringLiteral("remount,ro,bind"), folder}))
                unmount();
        } else {
            mounted_ = mount({QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                              QStringLiteral("size=16k"), QStringLiteral("tmpfs"), folder});
        }
    }
    ~MountedFolder()
    {
        if (chmodded_)
            QFile::setPermissions(folder_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        unmount();
    }
    MountedFolder(const MountedFolder&) = delete;
    MountedFolder& operator=(const MountedFolder&) = delete;

    bool active() const { return mounted_ || chmodded_; }

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
        if (mounted_)
            QProcess::execute(QStringLiteral("umount"), {folder_});
        mounted_ = false;
    }

    QString folder_;
    bool mounted_ = false;
    bool chmodded_ = false;
};
