#pragma once

#include <QString>
#include <QTemporaryDir>

// A fresh, empty program folder for one test: data::programFolder() points at it while the
// object lives, and it is deleted afterwards.
class TempProgramFolder {
public:
    TempProgramFolder();
    ~TempProgramFolder();
    TempProgramFolder(const TempProgramFolder&) = delete;
    TempProgramFolder& operator=(const TempProgramFolder&) = delete;

    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }
    // The diary path as the record editors write it: folder, backslash, "Tarnalist.mdb".
    QString diaryPath() const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
};
