#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include "data/Record.h"
#include "engagements/DiaryEntry.h"

namespace jet {
class Database;
class Recordset;
} // namespace jet

namespace engagements {
class SaveClashCheck;
}

namespace registers {

// A deletion the diary keeps: the record as it was stored (its sl_no the number it had when it
// was deleted; no row holds it, so it has no key).
struct KeptDeletion {
    std::int64_t id = 0;
    QString deletedAt; // "YYYY-MM-DD HH:MM:SS", local time
    data::Record record;
};

// The kept deletions of one register, in the diary's table of deleted records (see
// data::kKeptDeletionsTable), on a file or a server alike.
class KeptDeletions {
public:
    static constexpr int kKeptPerRegister = 1000;

    enum class Outcome { Restored, NotKept, RegisterFull, Clashes };
    struct Restored {
        Outcome outcome = Outcome::NotKept;
        int serial = 0;                    // the number the record came back at
        std::int64_t key = 0;              // its row
        QList<engagements::Entry> clashes; // Clashes: the stored records it would clash with
    };

    KeptDeletions(jet::Database& database, const QString& table);

    // The number a deletion numbered `serialThen` comes back at in a register of `countNow`.
    static int numberOnReturn(int serialThen, int countNow)
    {
        return qBound(1, serialThen, countNow + 1);
    }
    int registerCount();

    // Inside the caller's write, while row `key` of the register is still there: keeps a copy
    // of it and lets the oldest beyond kKeptPerRegister go. The new deletion's id.
    std::int64_t keep(std::int64_t key, const QDateTime& when);

    // Newest first; none where the diary has no table of them yet.
    QList<KeptDeletion> list();
    std::optional<KeptDeletion> find(std::int64_t id);

    // Brings deletion `id` back as one write: at the number it had (after the last record when
    // the register is shorter now), the records from there on moving up by one; it then leaves
    // the kept deletions. Nothing changes unless it is Restored. With `check`, a record that
    // would clash with stored ones the check has not accepted comes back as Clashes.
    Restored restore(std::int64_t id, const engagements::SaveClashCheck* check = nullptr);
    // restore, asking `ask` the clash question as a save does: Yes brings it back all the same
    // (after checking again), No leaves everything as it was (Clashes).
    Restored restoreAsking(std::int64_t id, int clashMinutes,
                           const std::function<bool(const QString& question)>& ask);

private:
    QString selectKept(const QString& condition) const;
    // The kept deletion at the set's current row.
    KeptDeletion current(jet::Recordset& rs) const;
    std::int64_t number(const QString& sql);

    jet::Database& m_database;
    QString m_table;
    data::Register m_which;
    QStringList m_columns; // the register's, sl_no first
};

} // namespace registers
