#pragma once

#include <functional>
#include <memory>

#include <QByteArray>
#include <QString>

namespace jet {
class Database;
}

namespace report {

// A finished report: the PDF and what a preview shows about it.
struct RenderedReport {
    QString title;
    QByteArray pdf;
    int pages = 0;
    int rows = 0;
};

// Opens the diary a template names (its path as the template's folder and `database` give it);
// nullptr when no such diary exists (none is made); throws when it cannot be opened.
using DiaryOpener = std::function<std::shared_ptr<jet::Database>(const QString& diaryPath)>;

// Runs a template: reads it, opens the diary it names (relative to the template's folder;
// `diaryPath` overrides that) through `openDiary`, reads its staging table and lays the report
// out. The template's path may be written as the windows write it, folder and name joined by a
// backslash, and its name is found in any letter case. Throws ReportError or the engine's
// JetError.
RenderedReport runReport(const QString& templatePath, const DiaryOpener& openDiary,
                         const QString& diaryPath = QString());

// The file `path` names, in the folder it names, found in any letter case; `path` itself when
// there is no such file.
QString existingProgramFile(const QString& path);

} // namespace report
