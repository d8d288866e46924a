// The reports: staging a full register against raw INSERT ... SELECT in one transaction, and a
// 1,000-row report laid out as a PDF (its time is what counts; raw only reads the same rows).
#include <cstdio>
#include <memory>
#include <stdexcept>

#include <sqlite3.h>

#include <QByteArray>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTime>

#include "Bench.h"
#include "RawSqlite.h"
#include "data/DayName.h"
#include "data/DiaryDatabase.h"
#include "platform/jet/Database.h"
#include "platform/jet/StorageText.h"
#include "platform/report/ReportRun.h"
#include "reports/ReportRegister.h"
#include "reports/Stager.h"

namespace {

constexpr int kRecords = 32767;
const QDate kFirst(2024, 1, 1);

// A diary whose local register holds `records` programmes, one or two a day from kFirst.
struct ReportDiary {
    QTemporaryDir dir;
    QString path;

    explicit ReportDiary(int records) : path(dir.path() + QStringLiteral("/Tarnalist.mdb"))
    {
        data::OpenDiaryDatabase(path);
        RawConnection raw(path);
        Statement insert(raw.db,
                         "INSERT INTO local VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
        const QByteArray topic(
            "\xA5\xC0\xC4\xB8\xC0\xDB\x50\xC0 \xA9\x71\xC0\xC4\x55\xC0\x71\xC0\xC9 ");
        const QByteArray venue("\xA5\xC0\xC4\x67\xC0\xA8\xC0\xAA\xC0\xA3\xC0, "
                               "\xA8\xC9\x41\x55\xC0\xBC\xC0\xC6\x67\xC0\xC4");
        raw.exec("BEGIN");
        for (int serial = 1; serial <= records; ++serial) {
            const QDate date = kFirst.addDays(serial / 2);
            const QByteArray columns[9] = {
                date.toString(Qt::ISODate).toLatin1(),
                jet::storageFromBytes(data::DayName(date)),
                QTime(serial % 24, serial % 60, 30).toString(QStringLiteral("HH:mm:ss")).toLatin1(),
                jet::storageFromBytes(topic + QByteArray::number(serial)),
                jet::storageFromBytes(venue),
                jet::storageFromBytes(venue + " " + topic),
                QByteArray::number(8000000 + serial),
                jet::storageFromBytes(topic),
                QByteArray(),
            };
            sqlite3_bind_int(insert.stmt, 1, serial);
            for (int c = 0; c < 9; ++c)
                sqlite3_bind_text(insert.stmt, c + 2, columns[c].constData(),
                                  int(columns[c].size()), SQLITE_TRANSIENT);
            check(sqlite3_step(insert.stmt), raw.db);
            sqlite3_reset(insert.stmt);
        }
        raw.exec("COMMIT");
    }

    QDate lastDay(int records) const { return kFirst.addDays(records / 2); }
};

const BenchRegistration stageAll("stage-all", [] {
    ReportDiary diary(kRecords);
    const QDate last = diary.lastDay(kRecords);
    const double ours = benchMs([&] {
        auto db = data::OpenDiaryDatabase(diary.path);
        if (reports::stageRange(*db, reports::ReportRegister::local(), kFirst, last) != kRecords)
            throw std::runtime_error("not every record was staged");
    });
    const QByteArray from = kFirst.toString(Qt::ISODate).toLatin1();
    const QByteArray to = last.toString(Qt::ISODate).toLatin1();
    const QByteArray copy =
        "BEGIN IMMEDIATE; DELETE FROM temp_local; "
        "INSERT INTO temp_local SELECT sl_no, tarna_date, day_name, substr(tarna_time, 1, 5), "
        "topic, venue, address, telephone, contact_person, others, '" +
        from + "', '" + to + "' FROM local WHERE tarna_date >= '" + from + "' AND tarna_date <= '" +
        to + "' ORDER BY tarna_date; COMMIT;";
    const double raw = benchMs([&] {
        RawConnection c(diary.path);
        c.exec(copy.constData());
    });
    return BenchResult{ours, raw};
});

const BenchRegistration report1000("report-1000", [] {
    constexpr int kRows = 1000;
    ReportDiary diary(kRows);
    // The template as shipped, found from this file's place in the source tree.
    const QString templatePath = QFileInfo(QStringLiteral(__FILE__))
                                     .dir()
                                     .filePath(QStringLiteral("../resources/rptlocal.rpt"));
    {
        auto db = data::OpenDiaryDatabase(diary.path);
        reports::stageRange(*db, reports::ReportRegister::local(), kFirst, diary.lastDay(kRows));
    }
    int pages = 0;
    const double ours = benchMs([&] {
        const report::RenderedReport r =
            report::runReport(templatePath, reports::stagedDiaryOpener(nullptr), diary.path);
        if (r.rows != kRows)
            throw std::runtime_error("the report lost rows");
        pages = r.pages;
    });
    const double raw = benchMs([&] {
        RawConnection c(diary.path);
        Statement select(c.db, "SELECT * FROM temp_local");
        int rows = 0;
        while (sqlite3_step(select.stmt) == SQLITE_ROW)
            ++rows;
        if (rows != kRows)
            throw std::runtime_error("the staging table lost rows");
    });
    std::fprintf(stderr, "report-1000: %d pages in %.0f ms (target: at most 1500 ms)\n", pages,
                 ours);
    return BenchResult{ours, raw};
});

} // namespace
