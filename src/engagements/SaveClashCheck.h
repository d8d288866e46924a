#pragma once

#include <cstdint>
#include <optional>

#include <QDate>
#include <QList>
#include <QTime>

#include "engagements/ClashRule.h"
#include "engagements/DiaryEntry.h"

namespace jet {
class Database;
}

namespace engagements {

// A record as a register window is about to write it.
struct SaveCandidate {
    data::Register which = data::Register::Local;
    QDate date; // a programme's date and time; a tour's departure
    QTime time;
    QDate endDate; // a tour's arrival
    QTime endTime;
    // The stored row a change is written to (its Recordset::Bookmark); none for a new record.
    std::optional<std::int64_t> ownKey;
};

// The stored records `candidate` would clash with under the rule (ClashRule.h), read now
// through `database`, in order of their start. The record itself is never among them.
QList<Entry> clashesOnSave(jet::Database& database, const SaveCandidate& candidate,
                           int withinMinutes);

// The warning before a save, for one save of one window. The check runs inside the save's own
// write, so what another copy saved meanwhile counts; the question is asked with the write
// closed, so an open question holds nobody back:
//
//     engagements::SaveClashCheck check;
//     for (;;) {
//         QList<engagements::Entry> clashes;
//         {
//             jet::Transaction transaction(*Db);
//             clashes = check.newClashes(*Db, candidate);
//             if (clashes.isEmpty()) {
//                 ... write the record ...
//                 transaction.commit();
//                 return;
//             }
//         } // rolled back: nothing written
//         if (!ask(engagements::texts::clashQuestion(clashes)))
//             return;             // No: back to the form, everything typed kept
//         check.accept(clashes);  // Yes: checked again inside the next write, then saved
//     }
class SaveClashCheck {
public:
    explicit SaveClashCheck(int withinMinutes = clashMinutes());

    // The records `candidate` would clash with now that the user has not yet accepted.
    QList<Entry> newClashes(jet::Database& database, const SaveCandidate& candidate) const;
    // The user answered Yes for these: the save may go ahead despite them.
    void accept(const QList<Entry>& clashes);

    int withinMinutes() const { return m_within; }

private:
    int m_within;
    QList<Entry> m_accepted;
};

} // namespace engagements
