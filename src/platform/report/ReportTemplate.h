#pragma once

#include <QList>
#include <QSizeF>
#include <QString>
#include <QStringList>

namespace report {

// One column of the report's table: its heading and the staging columns shown in each cell
// (one under the other when there are several).
struct ReportColumn {
    enum class Align { Left, Centre, Right };

    QString heading;
    QStringList fields;
    double width = 1; // a share of the table's width, relative to the other columns
    Align align = Align::Left;
};

// A report template: which staging table of which diary file to read and how to lay it out.
// Read from the JSON files the README describes; an office edits them to change titles,
// columns, widths and fonts without rebuilding the program.
struct ReportTemplate {
    QString database;  // the diary file, relative to the template's folder
    QString table;     // the staging table read
    QSizeF pageSize;   // in points, already turned for the orientation
    double margin = 0; // in points, on all four sides
    QString titleFont, rangeFont, headingFont, bodyFont, footerFont; // Pango font descriptions
    QString title;
    QString range;  // under the title; {column} is that column of the first row
    QString footer; // at the foot of every page; {page} and {pages}
    QString dateFormat;
    bool kannadaDigits = true;
    QList<ReportColumn> columns;

    // Every staging column the template reads.
    QStringList fieldsUsed() const;
};

// Reads and checks a template file; ReportError naming the file and the fault otherwise.
ReportTemplate readReportTemplate(const QString& path);
// The same for a template's text; `name` names it in messages.
ReportTemplate parseReportTemplate(const QByteArray& json, const QString& name);

} // namespace report
