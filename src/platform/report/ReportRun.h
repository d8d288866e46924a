#pragma once

#include <QByteArray>
#include <QString>

namespace report {

// A finished report: the PDF and what a preview shows about it.
struct RenderedReport {
    QString title;
    QByteArray pdf;
    int pages = 0;
    int rows = 0;
};

// Runs a template: reads it, opens the diary file it names (relative to the template's folder;
// `diaryPath` overrides that), reads its staging table and lays the report out. The template's
// path may be written as the windows write it, folder and name joined by a backslash, and its
// name is found in any letter case. Throws ReportError or the engine's JetError.
RenderedReport runReport(const QString& templatePath, const QString& diaryPath = QString());

// The file `path` names, in the folder it names, found in any letter case; `path` itself when
// there is no such file.
QString existingProgramFile(const QString& path);

} // namespace report
