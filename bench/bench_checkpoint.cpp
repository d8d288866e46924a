// What folding each save into the diary file costs: a save followed by a passive checkpoint
// against the same save left in the journal, both on plain sqlite3.
#include <QTemporaryDir>

#include "Bench.h"
#include "RawSqlite.h"
#include "data/DiaryDatabase.h"

namespace {

constexpr int kSaves = 20;

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
    return BenchResult{saves(ours, true) / kSaves, saves(raw, false) / kSaves};
});

} // namespace
