#include "engagements/EntryReader.h"

#include <algorithm>
#include <vector>

#include <QStringList>

#include "data/DayName.h"
#include "data/DiarySchema.h"
#include "platform/jet/Database.h"

namespace engagements {

namespace {

QString whereClause(const QStringList& conditions)
{
    return conditions.isEmpty()
               ? QString()
               : QStringLiteral(" where ") + conditions.join(QStringLiteral(" and "));
}

using Values = std::vector<QVariant>;

// Reads every row of `sql` (identity and sl_no first) into entries; `fill` takes the rest.
template <typename Fill>
QList<Entry> readEntries(jet::Database& database, data::Register which, const QString& sql,
                         Fill fill)
{
    // One forward pass over the statement: nothing here writes, and no row is looked at twice,
    // so the rows need not be held as a set.
    QList<Entry> entries;
    database.ReadRows(sql, [&](const Values& row) {
        Entry& entry = entries.emplace_back();
        entry.which = which;
        entry.key = row[0].toLongLong();
        entry.serial = row[1].toInt();
        fill(row, entry);
        return true;
    });
    return entries;
}

// The two texts after the other columns, when the statement read them.
void fillTexts(const Values& row, size_t first, Entry& entry)
{
    if (row.size() > first + 1) {
        entry.subject = row[first].toByteArray();
        entry.place = row[first + 1].toByteArray();
    }
}

void fillTour(const Values& row, Entry& entry)
{
    entry.date = row[2].toDate();
    entry.time = row[3].toTime();
    entry.endDate = row[4].toDate();
    entry.endTime = row[5].toTime();
    fillTexts(row, 6, entry);
}

} // namespace

QList<Entry> readProgrammes(jet::Database& database, data::Register which, const DateRange& range,
                            Texts texts)
{
    QStringList conditions;
    if (range.from)
        conditions << QStringLiteral("tarna_date>=") + data::dateLiteral(*range.from);
    if (range.to)
        conditions << QStringLiteral("tarna_date<=") + data::dateLiteral(*range.to);
    const QString sql =
        QStringLiteral("Select %1, sl_no, tarna_date, tarna_time%2 from %3")
            .arg(database.rowIdentity(),
                 texts == Texts::Read ? QStringLiteral(", topic, venue") : QString(),
                 data::tableName(which)) +
        whereClause(conditions) + QStringLiteral(" order by tarna_date, tarna_time");
    return readEntries(database, which, sql, [](const Values& row, Entry& entry) {
        entry.date = row[2].toDate();
        entry.time = row[3].toTime();
        fillTexts(row, 4, entry);
    });
}

QList<Entry> readTours(jet::Database& database, const DateRange& range, Texts texts)
{
    // An older diary gets the arrivals' index the first time its tours are read outside a
    // write.
    const bool arrivalIndex = data::addMissingIndexes(database);
    const QString select =
        QStringLiteral("Select %1, sl_no, travel_date_from, travel_time_from, travel_date_to, "
                       "travel_time_to%2 from tour")
            .arg(database.rowIdentity(),
                 texts == Texts::Read ? QStringLiteral(", travel_from, travel_to") : QString());
    // SQLite, without statistics, picks either of the tours' two date indexes for a condition
    // on both dates; on a file that has both a unary + steers it off the one that would walk
    // the register. The server's planner weighs them with its statistics.
    const auto unindexed = [&](const char* column) {
        return (arrivalIndex ? QStringLiteral("+") : QString()) + QLatin1String(column);
    };
    QString where;
    if (range.from) {
        // The tours still away at the range's start, found from their arrival (few, in a diary
        // of the past), less those leaving after its end; and those whose stored arrival
        // comes before its start, found from their departure within it.
        const QString from = data::dateLiteral(*range.from);
        QString away = QStringLiteral("travel_date_to>=") + from;
        QString reversed = QStringLiteral("travel_date_from>=") + from;
        if (range.to) {
            away += QStringLiteral(" and ") + unindexed("travel_date_from") + QStringLiteral("<=") +
                    data::dateLiteral(*range.to);
            reversed += QStringLiteral(" and travel_date_from<=") + data::dateLiteral(*range.to);
        }
        reversed += QStringLiteral(" and ") + unindexed("travel_date_to") + QLatin1Char('<') + from;
        where = QStringLiteral(" where (%1) or (%2)").arg(away, reversed);
    } else if (range.to) {
        where = QStringLiteral(" where travel_date_from<=") + data::dateLiteral(*range.to);
    }
    QList<Entry> tours = readEntries(database, data::Register::Tour, select + where, fillTour);
    std::sort(tours.begin(), tours.end(), startsBefore);
    return tours;
}

} // namespace engagements
