#include "find/RegisterTexts.h"

#include "data/DiarySchema.h"

namespace find {

RegisterTexts registerTexts(data::Register which)
{
    RegisterTexts layout;
    layout.which = which;
    layout.table = data::tableName(which);
    layout.columns = data::registerColumns(layout.table);
    const QStringList& columns = layout.columns;
    const bool tour = which == data::Register::Tour;
    layout.date = int(
        columns.indexOf(tour ? QStringLiteral("travel_date_from") : QStringLiteral("tarna_date")));
    layout.time = int(
        columns.indexOf(tour ? QStringLiteral("travel_time_from") : QStringLiteral("tarna_time")));
    // The day names are left out: they only spell the date.
    const QStringList texts =
        tour ? QStringList{QStringLiteral("travel_from"), QStringLiteral("travel_to"),
                           QStringLiteral("travel_type"), QStringLiteral("others")}
             : QStringList{QStringLiteral("topic"),          QStringLiteral("venue"),
                           QStringLiteral("address"),        QStringLiteral("telephone"),
                           QStringLiteral("contact_person"), QStringLiteral("others")};
    for (const QString& name : texts)
        layout.texts.push_back({int(columns.indexOf(name)), name});
    return layout;
}

} // namespace find
