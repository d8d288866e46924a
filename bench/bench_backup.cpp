// A backup of a full diary (32,767 rows in each register) through our code against the bare
// online backup API of sqlite3 into a new file.
#include <sqlite3.h>

#include <QFile>
#include <QTemporaryDir>

#include "Bench.h"
#include "RawSqlite.h"
#include "backup/DiaryBackup.h"
#include "data/DiaryDatabase.h"
#include "platform/jet/Database.h"

namespace {

constexpr int kRows = 32767;

void fill(const QString& diary)
{
    RawConnection c(diary);
    c.exec("BEGIN");
    for (const char* table : {"local", "outstation"}) {
        const QByteArray sql = QByteArray("INSERT INTO ") + table +
                               " VALUES (?1, '2027-01-05', '\xC2\xB8\xC3\x89', '10:30:00', "
                               "'\xC2\xB8\xC3\x80\xC3\x9C\xC2\xBD topic ' || ?1, 'venue', "
                               "'address of the place', '0821-2345678', 'contact', 'others')";
        Statement insert(c.db, sql.constData());
        for (int i = 1; i <= kRows; ++i) {
            sqlite3_bind_int(insert.stmt, 1, i);
            check(sqlite3_step(insert.stmt), c.db);
            sqlite3_reset(insert.stmt);
        }
    }
    Statement tour(c.db, "INSERT INTO tour VALUES (?1, 'from', 'to', '2027-01-05', 'day', "
                         "'08:00:00', '2027-01-07', 'day', '18:00:00', 'bus', 'others')");
    for (int i = 1; i <= kRows; ++i) {
        sqlite3_bind_int(tour.stmt, 1, i);
        check(sqlite3_step(tour.stmt), c.db);
        sqlite3_reset(tour.stmt);
    }
    c.exec("COMMIT");
}

void rawBackup(sqlite3* source, const QString& target)
{
    sqlite3* copy = nullptr;
    check(sqlite3_open_v2(QFile::encodeName(target).constData(), &copy,
                          SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
          copy);
    sqlite3_backup* backup = sqlite3_backup_init(copy, "main", source, "main");
    if (!backup || sqlite3_backup_step(backup, -1) != SQLITE_DONE)
        throw std::runtime_error(sqlite3_errmsg(copy));
    check(sqlite3_backup_finish(backup), copy);
    sqlite3_close(copy);
}

} // namespace

VELMORA_BENCH(backup_full_diary)
{
    QTemporaryDir dir;
    const QString diary = dir.filePath(QStringLiteral("Tarnalist.mdb"));
    data::OpenDiaryDatabase(diary);
    fill(diary);
    auto database = data::OpenDiaryDatabase(diary);
    RawConnection raw(diary);
    int n = 0;
    const double ours = benchMs([&] {
        backup::copyDiary(*database, dir.filePath(QStringLiteral("ours-%1.mdb").arg(++n)));
    });
    const double baseline =
        benchMs([&] { rawBackup(raw.db, dir.filePath(QStringLiteral("raw-%1.mdb").arg(n))); });
    return {ours, baseline};
}
