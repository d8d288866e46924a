// A save folded into the diary file: the engine's insert, which checkpoints after its commit,
// against the same insert and passive checkpoint on plain sqlite3.
#include <QTemporaryDir>

#include "Bench.h"
#include "RawSqlite.h"
#include "data/DiaryDatabase.h"
#include "platform/jet/Database.h"

namespace {

constexpr int kSaves = 20;

double engineSaves(const QString& path)
{
    const auto db = data::OpenDiaryDatabase(path);
    return benchMs([&] {
        for (int i = 0; i < kSaves; ++i)
            db->Execute(QStringLiteral("INSERT INTO local VALUES (%1, '2027-01-05', '', "
                                       "'10:30:00', 'x', 'y', '', '', '', '')")
                            .arg(i + 1));
    });
}

double saves(const QString& path, bool checkpoint)
{
    RawConnection c(path);
    Statement insert(c.db, "INSERT INTO local VALUES (?1, '2027-01-05', '', '10:30:00', 'x', "
                           "'y', '', '', '', '')");
    return benchMs([&] {
        for (int i = 0; i < kSaves; ++i) {
            sqlite3_bind_int(insert.stmt, 1, i + 1);
            check(sqlite3_step(insert.stmt), c.db);
            sqlite3_reset(insert.stmt);
            if (checkpoint)
                check(sqlite3_wal_checkpoint_v2(c.db, "main", SQLITE_CHECKPOINT_PASSIVE, nullptr,
                                                nullptr),
                      c.db);
        }
    });
}

const BenchRegistration checkpointAfterSave("checkpoint-after-save", [] {
    QTemporaryDir ourDir, rawDir;
    const QString ours = ourDir.filePath(QStringLiteral("Tarnalist.mdb"));
    const QString raw = rawDir.filePath(QStringLiteral("Tarnalist.mdb"));
    data::OpenDiaryDatabase(ours);
    data::OpenDiaryDatabase(raw);
    return BenchResult{engineSaves(ours) / kSaves, saves(raw, true) / kSaves};
});

} // namespace
