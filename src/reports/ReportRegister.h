#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace reports {

// What differs between the three reports: the register read, the staging table written, the
// template run and the notice for an empty range.
struct ReportRegister {
    enum class Kind { Local, Outstation, Tour };

    Kind kind;
    QString sourceTable;       // local, outstation, tour
    QString stagingTable;      // temp_local, temp_outstation, temp_tour
    QString templateName;      // rptlocal.rpt, ...
    QByteArray notice;         // Varnel bytes, shown when the range holds no record
    QStringList sourceColumns; // the register's columns, in their order
    QList<int> timeColumns;    // source ordinals staged as "HH:mm" text

    static const ReportRegister& local();
    static const ReportRegister& outstation();
    static const ReportRegister& tour();
    // By the command-line name: "local", "outstation" or "tour"; nullptr for anything else.
    static const ReportRegister* byName(const QString& name);

    // The range query, exactly as the windows write it; both bounds inclusive. The dates are
    // written in ISO form (YYYY-MM-DD), as in the search statements, which datevalue() reads
    // back as whole days whatever the desk's regional settings. Rows of one day come in time
    // order, then by serial number, so a diary file and a server stage them alike (by date
    // alone, the file gave the order of the index it used and the server the typing order).
    QString rangeQuery(const QDate& first, const QDate& last) const;

    // The template's path in the program folder (found in any letter case when read).
    QString templatePath(const QString& programFolder) const;
};

} // namespace reports
