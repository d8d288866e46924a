// The search windows' list against raw sqlite3 on registers of 32,767 records: the statement's
// rows read into the list in one statement, against the same select's rows stepped on sqlite3.
#include <memory>
#include <stdexcept>

#include <sqlite3.h>

#include <QByteArray>
#include <QDate>
#include <QTemporaryDir>
#include <QTime>

#include "Bench.h"
#include "LocalRegister.h"
#include "RawSqlite.h"
#include "data/DiaryDatabase.h"
#include "search/SearchQueries.h"
#include "search/SearchSession.h"

namespace {

constexpr int kRecords = 32767;

// A diary whose local register is full, filled once for every scenario.
struct FullDiary {
    QTemporaryDir dir;
    QString path;
    std::unique_ptr<RawConnection> raw;

    FullDiary() : path(dir.path() + QStringLiteral("\\Tarnalist.mdb"))
    {
        data::OpenDiaryDatabase(path);
        raw = std::make_unique<RawConnection>(dir.path() + QStringLiteral("/Tarnalist.mdb"));
        fillLocalRegister(*raw, kRecords);
    }
};

FullDiary& fullDiary()
{
    static FullDiary diary;
    return diary;
}

// What the list reads, on sqlite3: every row of `sql` (the list's select with ISO literals in
// place of datevalue and timevalue), stepped with every column's text read. Returns the number
// of rows. It keeps nothing, so the ratio also counts what the list does to keep its rows.
int stepRows(sqlite3* db, const char* sql)
{
    int rows = 0;
    Statement select(db, sql);
    const int columns = sqlite3_column_count(select.stmt);
    while (sqlite3_step(select.stmt) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c)
            sqlite3_column_text(select.stmt, c);
        ++rows;
    }
    return rows;
}

BenchResult compare(const QString& statement, const char* rawSql, int expectedRows)
{
    FullDiary& diary = fullDiary();
    search::SearchSession session(data::Register::Local);
    session.OpenDatabase(diary.path);
    int raw = 0;
    // What opening the list costs: the statement's rows, read in one statement and kept in
    // the list (a grid's first paint then reads them from memory).
    const double oursMs = benchMs([&] { session.run(statement); });
    const double rawMs = benchMs([&] { raw = stepRows(diary.raw->db, rawSql); });
    const int ours = session.model().rowCount();
    if (ours != raw || ours != expectedRows)
        throw std::runtime_error("the list and the raw query disagree on the rows");
    return {oursMs, rawMs};
}

// The opening list: every record, in date and time order (ties in the order added, as the
// list orders them).
BenchResult searchAll()
{
    return compare(search::programmeOpeningQuery(QStringLiteral("local")),
                   "SELECT * FROM local ORDER BY tarna_date, tarna_time, rowid", kRecords);
}

// All four bounds in force, about a tenth of the register.
BenchResult searchBounded()
{
    search::ProgrammeBounds bounds;
    bounds.dateFrom = QDate(2024, 2, 1);
    bounds.dateTo = QDate(2024, 8, 31);
    bounds.timeFrom = QTime(8, 0, 0);
    bounds.timeTo = QTime(15, 59, 59);
    return compare(search::programmeQuery(QStringLiteral("local"), bounds),
                   "SELECT * FROM local WHERE tarna_date >= '2024-02-01' AND tarna_date <= "
                   "'2024-08-31' AND tarna_time >= '08:00:00' AND tarna_time <= '15:59:59' "
                   "ORDER BY tarna_date, tarna_time, rowid",
                   3336);
}

const BenchRegistration searchAllRegistration("search-all", searchAll);
const BenchRegistration searchBoundedRegistration("search-bounded", searchBounded);

} // namespace
