// The search windows' list against raw sqlite3 on registers of 32,767 records: the statement
// opened and the rows the grid reads first, against the same keys and rows read on sqlite3.
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

BenchResult compare(const QString& statement, const char* rawSql, int expectedRows)
{
    FullDiary& diary = fullDiary();
    search::SearchSession session(search::SearchRegister::Local);
    session.OpenDatabase(diary.path);
    int raw = 0;
    // What opening the list costs: the statement, and the rows the grid reads before its first
    // paint (the first screenful and the sample its column widths come from).
    const double oursMs = benchMs([&] {
        session.run(statement);
        for (const int row : search::SearchResultsModel::sampleRows(session.model().rowCount()))
            session.model().record(row);
    });
    // What the list reads: the statement's keys in order, then the rows the grid reads.
    const QList<int> rows = search::SearchResultsModel::sampleRows(expectedRows);
    const std::vector<int> sample(rows.begin(), rows.end());
    const double rawMs =
        benchMs([&] { raw = readKeysetAndRows(diary.raw->db, rawSql, "local", sample); });
    const int ours = session.model().rowCount();
    if (ours != raw || ours != expectedRows)
        throw std::runtime_error("the list and the raw query disagree on the rows");
    return {oursMs, rawMs};
}

// The opening list: every record, in date and time order.
BenchResult searchAll()
{
    return compare(search::programmeOpeningQuery(QStringLiteral("local")),
                   "SELECT rowid FROM local ORDER BY tarna_date, tarna_time, rowid", kRecords);
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
                   "SELECT rowid FROM local WHERE tarna_date >= '2024-02-01' AND tarna_date <= "
                   "'2024-08-31' AND tarna_time >= '08:00:00' AND tarna_time <= '15:59:59' "
                   "ORDER BY tarna_date, tarna_time, rowid",
                   3336);
}

const BenchRegistration searchAllRegistration("search-all", searchAll);
const BenchRegistration searchBoundedRegistration("search-bounded", searchBounded);

} // namespace
