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
#include "RawSqlite.h"
#include "data/DayName.h"
#include "data/DiaryDatabase.h"
#include "platform/jet/StorageText.h"
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
        Statement insert(raw->db,
                         "INSERT INTO local VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
        const QByteArray topic(
            "\xA5\xC0\xC4\xB8\xC0\xDB\x50\xC0 \xA9\x71\xC0\xC4\x55\xC0\x71\xC0\xC9 ");
        raw->exec("BEGIN");
        for (int serial = 1; serial <= kRecords; ++serial) {
            const QDate date = QDate(2024, 1, 1).addDays(serial % 700);
            const QByteArray columns[9] = {
                date.toString(Qt::ISODate).toLatin1(),
                jet::storageFromBytes(data::DayName(date)),
                QTime(serial % 24, serial % 60, serial % 59)
                    .toString(QStringLiteral("HH:mm:ss"))
                    .toLatin1(),
                jet::storageFromBytes(topic + QByteArray::number(serial)),
                jet::storageFromBytes(topic + QByteArray::number(serial * 3)),
                jet::storageFromBytes(topic + QByteArray::number(serial * 7)),
                QByteArray::number(8000000 + serial),
                jet::storageFromBytes(topic),
                QByteArray(),
            };
            sqlite3_bind_int(insert.stmt, 1, serial);
            for (int c = 0; c < 9; ++c)
                sqlite3_bind_text(insert.stmt, c + 2, columns[c].constData(),
                                  int(columns[c].size()), SQLITE_TRANSIENT);
            check(sqlite3_step(insert.stmt), raw->db);
            sqlite3_reset(insert.stmt);
        }
        raw->exec("COMMIT");
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
