#include "agenda/EntryReader.h"

#include <algorithm>

#include <QStringList>

#include "data/DiarySchema.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetDateTime.h"
#include "platform/jet/Recordset.h"
#include "platform/jet/SqlLiteral.h"

namespace agenda {

namespace {

// A date as stored ('YYYY-MM-DD'): compared as text on a file, read as a date by the server.
// A bare literal, unlike datevalue('...'), is not worked out again for each row a condition
// looks at.
QString dateValue(const QDate& date)
{
    return jet::SqlLiteral(jet::isoDateText(date));
}

QString whereClause(const QStringList& conditions)
{
    return conditions.isEmpty()
               ? QString()
               : QStringLiteral(" where ") + conditions.join(QStringLiteral(" and "));
}

// Reads every row of `sql` (identity and sl_no first) into entries; `fill` takes the rest.
template <typename Fill>
QList<Entry> readEntries(jet::Database& database, Register which, const QString& sql, Fill fill)
{
    // A snapshot reads its rows in one pass and holds them: nothing here writes.
    const auto rows = database.OpenRecordset(sql, jet::RecordsetType::Snapshot);
    QList<Entry> entries;
    entries.reserve(rows->RecordCount());
    for (; !rows->Eof(); rows->MoveNext()) {
        Entry entry;
        entry.which = which;
        entry.key = rows->Fields(0).Value().toLongLong();
        entry.serial = rows->Fields(1).Value().toInt();
        fill(*rows, entry);
        entries.append(std::move(entry));
    }
    return entries;
}

// The two texts after the other columns, when the statement read them.
void fillTexts(jet::Recordset& row, int first, Entry& entry)
{
    if (row.FieldCount() > first + 1) {
        entry.subject = row.Fields(first).Value().toByteArray();
        entry.place = row.Fields(first + 1).Value().toByteArray();
    }
}

void fillTour(jet::Recordset& row, Entry& entry)
{
    entry.date = row.Fields(2).Value().toDate();
    entry.time = row.Fields(3).Value().toTime();
    entry.endDate = row.Fields(4).Value().toDate();
    entry.endTime = row.Fields(5).Value().toTime();
    fillTexts(row, 6, entry);
}

} // namespace

QList<Entry> readProgrammes(jet::Database& database, Register which, const DateRange& range,
                            Texts texts)
{
    QStringList conditions;
    if (range.from)
        conditions << QStringLiteral("tarna_date>=") + dateValue(*range.from);
    if (range.to)
        conditions << QStringLiteral("tarna_date<=") + dateValue(*range.to);
    const QString sql =
        QStringLiteral("Select %1, sl_no, tarna_date, tarna_time%2 from %3")
            .arg(database.rowIdentity(),
                 texts == Texts::Read ? QStringLiteral(", topic, venue") : QString(),
                 registerName(which)) +
        whereClause(conditions) + QStringLiteral(" order by tarna_date, tarna_time");
    return readEntries(database, which, sql, [](jet::Recordset& row, Entry& entry) {
        entry.date = row.Fields(2).Value().toDate();
        entry.time = row.Fields(3).Value().toTime();
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
        const QString from = dateValue(*range.from);
        QString away = QStringLiteral("travel_date_to>=") + from;
        QString reversed = QStringLiteral("travel_date_from>=") + from;
        if (range.to) {
            away += QStringLiteral(" and ") + unindexed("travel_date_from") + QStringLiteral("<=") +
                    dateValue(*range.to);
            reversed += QStringLiteral(" and travel_date_from<=") + dateValue(*range.to);
        }
        reversed += QStringLiteral(" and ") + unindexed("travel_date_to") + QLatin1Char('<') + from;
        where = QStringLiteral(" where (%1) or (%2)").arg(away, reversed);
    } else if (range.to) {
        where = QStringLiteral(" where travel_date_from<=") + dateValue(*range.to);
    }
    QList<Entry> tours = readEntries(database, Register::Tour, select + where, fillTour);
    std::sort(tours.begin(), tours.end(), startsBefore);
    return tours;
}

} // namespace agenda
