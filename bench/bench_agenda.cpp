// The agenda of a week and the clashes of a year over three registers of 32,767 records each,
// against raw sqlite3 stepping the rows of the same statements; and the check a save runs.
#include <memory>
#include <stdexcept>

#include <sqlite3.h>

#include <QByteArray>
#include <QDate>
#include <QTemporaryDir>
#include <QTime>

#include "Bench.h"
#include "RawSqlite.h"
#include "agenda/Agenda.h"
#include "data/DayName.h"
#include "data/DiaryDatabase.h"
#include "engagements/ClashRule.h"
#include "engagements/EntryReader.h"
#include "engagements/SaveClashCheck.h"
#include "platform/jet/StorageText.h"

namespace {

constexpr int kRecords = 32767;
// Thirty years of a busy diary, 1996 to 2025: about three programmes a day in each programme
// register between 07:00 and 21:00, entered out of order, and three trips a day, one after
// the other, of one to three hours; one tour in forty is away for one to three nights. A
// week holds a few dozen clashes.
const QDate kFirstDay(1996, 1, 1);
constexpr int kDays = 10958;

QByteArray isoDate(const QDate& date)
{
    return date.toString(Qt::ISODate).toLatin1();
}

QByteArray isoTime(int seconds)
{
    return QTime(0, 0).addSecs(seconds).toString(QStringLiteral("HH:mm:ss")).toLatin1();
}

struct FullDiary {
    QTemporaryDir dir;
    QString path;
    std::shared_ptr<jet::Database> database;
    std::unique_ptr<RawConnection> raw;

    FullDiary() : path(dir.path() + QStringLiteral("/Tarnalist.mdb"))
    {
        database = data::OpenDiaryDatabase(path);
        raw = std::make_unique<RawConnection>(path);
        const QByteArray text = jet::storageFromBytes(
            "\xA5\xC0\xC4\xB8\xC0\xDB\x50\xC0 \xA9\x71\xC0\xC4\x55\xC0\x71\xC0\xC9");
        raw->exec("BEGIN");
        for (const char* table : {"local", "outstation"}) {
            Statement insert(raw->db, QByteArray("INSERT INTO ") + table +
                                          " VALUES (?1, ?2, ?3, ?4, ?5, ?5, ?5, '', ?5, '')");
            for (int serial = 1; serial <= kRecords; ++serial) {
                // Spread over the days out of order, as records are entered.
                const QDate date = kFirstDay.addDays((serial * 7919LL) % kDays);
                const QByteArray values[] = {isoDate(date),
                                             jet::storageFromBytes(data::DayName(date)),
                                             isoTime(7 * 3600 + (serial * 1237) % (14 * 3600))};
                sqlite3_bind_int(insert.stmt, 1, serial);
                for (int c = 0; c < 3; ++c)
                    sqlite3_bind_text(insert.stmt, c + 2, values[c].constData(),
                                      int(values[c].size()), SQLITE_TRANSIENT);
                sqlite3_bind_text(insert.stmt, 5, text.constData(), int(text.size()),
                                  SQLITE_STATIC);
                check(sqlite3_step(insert.stmt), raw->db);
                sqlite3_reset(insert.stmt);
            }
        }
        Statement insert(raw->db, "INSERT INTO tour VALUES (?1, ?2, ?2, ?3, '', ?4, ?5, '', ?6, "
                                  "'', '')");
        for (int serial = 1; serial <= kRecords; ++serial) {
            const QDate leaves = kFirstDay.addDays((serial - 1) / 3);
            const int departure = 7 * 3600 + ((serial - 1) % 3) * 5 * 3600 + (serial * 331) % 3600;
            const bool nights = serial % 40 == 0;
            const QByteArray values[] = {text, isoDate(leaves), isoTime(departure),
                                         isoDate(leaves.addDays(nights ? 1 + serial % 3 : 0)),
                                         isoTime(departure + 3600 + (serial * 97) % 7200)};
            sqlite3_bind_int(insert.stmt, 1, serial);
            for (int c = 0; c < 5; ++c)
                sqlite3_bind_text(insert.stmt, c + 2, values[c].constData(), int(values[c].size()),
                                  SQLITE_TRANSIENT);
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

// The rows read for [from, to] through the statements the agenda runs (with ISO literals; the
// clash rule's leave the texts out), stepped with every column touched.
int stepRange(sqlite3* db, const QDate& from, const QDate& to, bool texts)
{
    const QByteArray a = isoDate(from), b = isoDate(to);
    const QByteArray programmes = "SELECT rowid, sl_no, tarna_date, tarna_time" +
                                  QByteArray(texts ? ", topic, venue" : "") + " FROM ";
    const QByteArray inRange = " WHERE tarna_date >= '" + a + "' AND tarna_date <= '" + b +
                               "' ORDER BY tarna_date, tarna_time";
    const QByteArray tours = "SELECT rowid, sl_no, travel_date_from, travel_time_from, "
                             "travel_date_to, travel_time_to" +
                             QByteArray(texts ? ", travel_from, travel_to" : "") + " FROM tour";
    const QByteArray statements[] = {
        programmes + "local" + inRange,
        programmes + "outstation" + inRange,
        tours + " WHERE (travel_date_to >= '" + a + "' AND +travel_date_from <= '" + b +
            "') OR (travel_date_from >= '" + a + "' AND travel_date_from <= '" + b +
            "' AND +travel_date_to < '" + a + "')",
    };
    int rows = 0;
    for (const QByteArray& sql : statements) {
        Statement select(db, sql.constData());
        while (sqlite3_step(select.stmt) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(select.stmt); ++c)
                sqlite3_column_text(select.stmt, c);
            ++rows;
        }
    }
    return rows;
}

int entriesIn(jet::Database& database, const engagements::DateRange& range)
{
    return int(engagements::readProgrammes(database, data::Register::Local, range).size() +
               engagements::readProgrammes(database, data::Register::Outstation, range).size() +
               engagements::readTours(database, range).size());
}

// The agenda window's work for each week of December 2025 (the diary's last weeks, where
// "this week" lies): the lines of the three registers by day, with their clashes marked.
const BenchRegistration agendaWeek("agenda-week", []() -> BenchResult {
    FullDiary& diary = fullDiary();
    const QDate first(2025, 12, 1);
    constexpr int kWeeks = 4;
    int lines = 0, raw = 0, entries = 0;
    const double ours = benchMs([&] {
        for (int week = 0; week < kWeeks; ++week) {
            for (const agenda::AgendaDay& day :
                 agenda::readAgenda(*diary.database, first.addDays(7 * week), 7, 60).days)
                lines += int(day.lines.size());
        }
    });
    const double rawMs = benchMs([&] {
        for (int week = 0; week < kWeeks; ++week)
            raw += stepRange(diary.raw->db, first.addDays(7 * week), first.addDays(7 * week + 6),
                             true);
    });
    for (int week = 0; week < kWeeks; ++week)
        entries +=
            entriesIn(*diary.database, {first.addDays(7 * week), first.addDays(7 * week + 6)});
    if (lines < raw || entries != raw)
        throw std::runtime_error("the agenda and the raw query disagree on the rows");
    return {ours, rawMs};
});

// velmora-cli clashes over 2025.
const BenchRegistration agendaClashesYear("agenda-clashes-year", []() -> BenchResult {
    FullDiary& diary = fullDiary();
    const engagements::DateRange year{QDate(2025, 1, 1), QDate(2025, 12, 31)};
    QList<engagements::Clash> clashes;
    const double ours =
        benchMs([&] { clashes = engagements::readClashes(*diary.database, year, 60); });
    int raw = 0;
    const double rawMs =
        benchMs([&] { raw = stepRange(diary.raw->db, *year.from, *year.to, false); });
    if (clashes.isEmpty() || entriesIn(*diary.database, year) != raw)
        throw std::runtime_error("the clashes and the raw query disagree on the rows");
    return {ours, rawMs};
});

// What the check adds to a save of a local programme: twenty checks, each reading the
// records of its day (the save itself costs a synced write; see editor-save-new).
const BenchRegistration agendaSaveCheck("agenda-save-check", []() -> BenchResult {
    FullDiary& diary = fullDiary();
    const QDate day(2025, 12, 10);
    engagements::SaveClashCheck check(60);
    const engagements::SaveCandidate candidate{
        data::Register::Local, day, QTime(11, 0), {}, {}, {}};
    const double ours = benchMs([&] {
        for (int i = 0; i < 20; ++i)
            check.newClashes(*diary.database, candidate);
    });
    const double rawMs = benchMs([&] {
        for (int i = 0; i < 20; ++i)
            stepRange(diary.raw->db, day, day, true);
    });
    return {ours, rawMs};
});

} // namespace
