#include "reports/ReportRegister.h"

#include "data/DiarySchema.h"
#include "platform/jet/JetDateTime.h"
#include "reports/ReportTexts.h"

namespace reports {

const ReportRegister& ReportRegister::local()
{
    static const ReportRegister r{Kind::Local,
                                  QStringLiteral("local"),
                                  QStringLiteral("temp_local"),
                                  QStringLiteral("rptlocal.rpt"),
                                  texts::localNotice,
                                  data::registerColumns(QStringLiteral("local")),
                                  {3}};
    return r;
}

const ReportRegister& ReportRegister::outstation()
{
    static const ReportRegister r{Kind::Outstation,
                                  QStringLiteral("outstation"),
                                  QStringLiteral("temp_outstation"),
                                  QStringLiteral("rptoutstation.rpt"),
                                  texts::outstationNotice,
                                  data::registerColumns(QStringLiteral("outstation")),
                                  {3}};
    return r;
}

const ReportRegister& ReportRegister::tour()
{
    static const ReportRegister r{Kind::Tour,
                                  QStringLiteral("tour"),
                                  QStringLiteral("temp_tour"),
                                  QStringLiteral("rpttour.rpt"),
                                  texts::tourNotice,
                                  data::registerColumns(QStringLiteral("tour")),
                                  {5, 8}};
    return r;
}

const ReportRegister* ReportRegister::byName(const QString& name)
{
    for (const ReportRegister* r : {&local(), &outstation(), &tour()}) {
        if (r->sourceTable == name)
            return r;
    }
    return nullptr;
}

QString ReportRegister::rangeQuery(const QDate& first, const QDate& last) const
{
    const QString from = jet::isoDateText(first);
    const QString to = jet::isoDateText(last);
    if (kind == Kind::Tour) {
        return QStringLiteral("Select * from tour where ( travel_date_from>= datevalue('") + from +
               QStringLiteral("') and travel_date_from<=datevalue('") + to +
               QStringLiteral("') ) or ( travel_date_to>=datevalue('") + from +
               QStringLiteral("') and travel_date_to<=datevalue('") + to +
               QStringLiteral("') ) order by travel_date_from, travel_date_to, travel_time_from, "
                              "travel_time_to, sl_no");
    }
    return QStringLiteral("Select * from ") + sourceTable +
           QStringLiteral(" where tarna_date>= datevalue('") + from +
           QStringLiteral("') and tarna_date<=datevalue('") + to +
           QStringLiteral("') order by tarna_date, tarna_time, sl_no");
}

QString ReportRegister::templatePath(const QString& programFolder) const
{
    return programFolder + QLatin1Char('/') + templateName;
}

} // namespace reports
