// The record editor's writes: saving a new or changed record and deleting one, each one
// transaction that acts on the record as stored at that moment.
#include "registers/RecordEditor.h"

#include "data/DayName.h"
#include "engagements/ClashTexts.h"
#include "engagements/SaveClashCheck.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetError.h"
#include "platform/jet/Recordset.h"
#include "platform/jet/Transaction.h"
#include "registers/ClashCandidate.h"
#include "registers/KeptDeletions.h"
#include "registers/RegisterTexts.h"
#include "registers/SharingTexts.h"
#include "registers/UndoTexts.h"

#include <utility>

namespace registers {

namespace {

QByteArray varnelText(const QString& kannada)
{
    return varnel::encode(kannada).bytes;
}

// The form's dates and times, as the clash check reads them.
RecordTimes formTimes(const RecordEditorView& view)
{
    return {[&view](int ordinal) { return view.date(ordinal); },
            [&view](int ordinal) { return view.time(ordinal); }};
}

} // namespace

// One write of a record the clash rule looks at, in a transaction of its own. `mayWrite` runs
// inside it first (the record still stored as shown, the register not full); when it allows the
// write and the record clashes with stored records the user has not accepted yet, the
// transaction is undone and the clash question asked with it closed, so an open question holds
// nobody back: Yes checks again inside a new write, No ends here with nothing written (false).
// Otherwise `write` runs and the transaction commits.
bool RecordEditor::writeAskingAboutClashes(
    const std::optional<engagements::SaveCandidate>& candidate,
    const std::function<bool()>& mayWrite, const std::function<void()>& write)
{
    engagements::SaveClashCheck check(m_clashMinutes);
    for (;;) {
        QList<engagements::Entry> clashes;
        {
            jet::Transaction transaction(*Db);
            if (!mayWrite())
                return true;
            if (candidate)
                clashes = check.newClashes(*Db, *candidate);
            if (clashes.isEmpty()) {
                write();
                transaction.commit();
                return true;
            }
        }
        if (!m_view.askText(engagements::texts::clashQuestion(clashes)))
            return false;
        check.accept(clashes);
    }
}

// A new record takes the number after the last one stored at the moment of saving, whatever
// other windows added or deleted since this one was opened.
// A new record whose save may or may not have been stored (the server's answer was lost) is
// looked for before it is written again: found as typed, it is the saved record.
void RecordEditor::saveNew()
{
    try {
        writeNew();
    } catch (const jet::JetError& error) {
        m_uncertainNew = error.number() == jet::errors::kCommitOutcomeUnknown;
        throw;
    }
}

void RecordEditor::writeNew()
{
    int serial = 0;
    std::int64_t key = 0;
    bool current = false;
    std::int64_t ownSteps = 0;
    QList<QVariant> saved;
    if (std::exchange(m_uncertainNew, false)) {
        if (const std::optional<std::int64_t> stored = storedCopyOfForm()) {
            reread();
            showSaved(*stored, columnsOf(*storedRow(*stored)), true);
            m_view.saveNotice();
            return;
        }
    }
    // A clash is found inside the write and asked about with the write closed; Yes writes it
    // after checking again, No leaves the form as typed.
    bool written = false;
    const bool answered = writeAskingAboutClashes(
        clashCandidate(m_mapping, formTimes(m_view), std::nullopt),
        [&] {
            serial = storedCount() + 1;
            return serial <= kMaximumRecords;
        },
        [&] {
            // While nobody else wrote since the register was read, the new row simply joins
            // the end of it; otherwise the register is read afresh afterwards.
            current = holdsStoredRegister() && Rs->RecordCount() == serial - 1;
            ownSteps = Db->OwnDataVersionSteps();
            Rs->AddNew();
            writeFields(*Rs, serial);
            Rs->Update();
            Rs->MoveLast();
            key = Rs->Bookmark();
            saved = columnsOf(*storedRow(key));
            written = true;
        });
    if (!answered)
        return;
    if (!written) {
        m_view.messageText(texts::registerFullNotice(kMaximumRecords));
        return;
    }
    takeOwnSteps(ownSteps);
    remember({UndoStep::Kind::Addition, key, {}, saved});
    showSaved(key, saved, current);
    m_view.saveNotice();
}

// The saved row is the window's record from here on, whatever the move to it meets: the
// navigator goes to its number among this window's rows while they are the register as stored,
// or among the rows read afresh.
void RecordEditor::showSaved(std::int64_t key, const QList<QVariant>& saved, bool current)
{
    Adding = false;
    setState(State::Browsing);
    m_view.setNavigatorEnabled(true);
    showRow(key, saved);
    if (current)
        navigateTo(saved.value(0).toInt(), Rs->RecordCount());
    else
        refreshTo(key);
}

// A change is written to the row that was shown, under the serial number it has now, and only
// while nobody else changed that row since it was shown.
void RecordEditor::saveChanged(int attempt)
{
    const std::int64_t key = m_shownKey.value_or(0);
    Stored stored = Stored::Vanished;
    QList<QVariant> storedNow;
    QList<QVariant> saved;
    bool current = false;
    // A new date or time is checked for clashes inside the write, as a new record is.
    const std::optional<engagements::SaveCandidate> candidate =
        movedInTime(m_mapping, formTimes(m_view), m_shownValues)
            ? clashCandidate(m_mapping, formTimes(m_view), m_shownKey)
            : std::nullopt;
    std::unique_ptr<jet::Recordset> row;
    std::int64_t ownSteps = 0;
    const bool answered = writeAskingAboutClashes(
        candidate,
        [&] {
            row = storedRow(key);
            stored = compareWithShown(*row);
            // Stored as typed already (a save whose answer was lost, or another window's same
            // change): nothing is left to write.
            if (stored == Stored::Changed && holdsForm(*row))
                stored = Stored::Unchanged;
            if (stored != Stored::Vanished)
                storedNow = columnsOf(*row);
            return stored == Stored::Unchanged;
        },
        [&] {
            current = holdsStoredRegister();
            ownSteps = Db->OwnDataVersionSteps();
            const int serial = row->Fields(0).Value().toInt();
            row->Edit();
            writeFields(*row, serial);
            row->Update();
            saved = columnsOf(*storedRow(key));
        });
    row.reset();
    if (!answered)
        return;
    if (stored == Stored::Unchanged)
        takeOwnSteps(ownSteps);
    switch (stored) {
    case Stored::Unchanged:
        remember({UndoStep::Kind::Change, key, storedNow, saved});
        showSaved(key, saved, current);
        m_view.saveNotice();
        return;
    case Stored::Changed:
        // Asked outside the transaction: an open question must not hold other programs back.
        if (attempt < 3 && m_view.ask(varnelText(texts::changedMeanwhileQuestion()))) {
            m_shownValues = storedNow;
            saveChanged(attempt + 1);
        } else {
            refreshTo(key);
        }
        return;
    case Stored::Vanished:
        if (m_view.ask(varnelText(texts::deletedMeanwhileQuestion())))
            saveNew();
        else
            refreshTo(std::nullopt);
        return;
    }
}

void RecordEditor::writeFields(jet::Recordset& target, int serial)
{
    for (const RegisterField& f : m_mapping.fields) {
        jet::Field field = target.Fields(f.ordinal);
        switch (f.kind) {
        case FieldKind::SerialNumber: field.setValue(serial); break;
        case FieldKind::Date: field.setValue(m_view.date(f.ordinal)); break;
        case FieldKind::Time: field.setValue(m_view.time(f.ordinal)); break;
        case FieldKind::DayName:
        case FieldKind::Text: field.setValue(m_view.text(f.ordinal).bytes); break;
        }
    }
}

void RecordEditor::DeleteRecord()
{
    // The deletion and the renumbering are one transaction: a failure or a crash part way
    // leaves the register as it was, never with a gap or a repeated serial number.
    // The whole record is kept in the same transaction, so it can be brought back.
    const std::int64_t key = m_shownKey.value_or(0);
    Stored stored = Stored::Vanished;
    bool current = false;
    std::int64_t deletionId = 0;
    try {
        jet::Transaction transaction(*Db);
        auto row = storedRow(key);
        stored = compareWithShown(*row);
        if (stored == Stored::Unchanged) {
            row.reset();
            deletionId = KeptDeletions(*Db, m_mapping.table).keep(key, m_clock());
            current = holdsStoredRegister();
            const std::int64_t ownSteps = Db->OwnDataVersionSteps();
            if (current) {
                Rs->FindFirst(QStringLiteral("%1=%2").arg(Db->rowIdentity()).arg(key));
                current = !Rs->NoMatch();
            }
            if (current) {
                Rs->Delete();
            } else {
                Db->Execute(QStringLiteral("DELETE FROM %1 WHERE %2 = %3")
                                .arg(m_mapping.table, Db->rowIdentity())
                                .arg(key));
            }
            renumber();
            transaction.commit();
            takeOwnSteps(ownSteps);
        }
    } catch (...) {
        // The window shows the record as stored now; when even that cannot be read, the
        // failure the user hears of is the deletion's.
        try {
            refreshTo(key);
        } catch (...) {
        }
        throw;
    }
    switch (stored) {
    case Stored::Unchanged: remember({UndoStep::Kind::Deletion, deletionId, {}, {}}); break;
    case Stored::Changed:
        m_view.messageText(texts::changedMeanwhileNotice());
        refreshTo(key);
        return;
    case Stored::Vanished:
        m_view.messageText(texts::deletedMeanwhileNotice());
        refreshTo(std::nullopt);
        return;
    }
    if (!current)
        reread();
    const int count = Rs->RecordCount();
    if (count > 0)
        navigateTo(count, count);
    else
        NewRecord();
}

// Numbers the stored rows 1..N in their order. Only rows whose number changes are written.
// Where UNIQUE is checked row by row they go to a negative number first, so two rows never
// share one at any moment; where it is checked at the statement's end one statement does.
void RecordEditor::renumber()
{
    const QString table = m_mapping.table;
    const QString id = Db->rowIdentity();
    const bool oneStatement = Db->checksUniqueAtStatementEnd();
    Db->Execute(QStringLiteral("UPDATE %1 SET sl_no = %3r.n FROM (SELECT %2 AS id, "
                               "row_number() OVER (ORDER BY sl_no, %2) AS n FROM %1) AS r "
                               "WHERE %1.%2 = r.id AND %1.sl_no <> r.n")
                    .arg(table, id, oneStatement ? QString() : QStringLiteral("-")));
    if (!oneStatement)
        Db->Execute(QStringLiteral("UPDATE %1 SET sl_no = -sl_no WHERE sl_no < 0").arg(table));
}

void RecordEditor::writeValues(jet::Recordset& target, const QList<QVariant>& values, int serial)
{
    for (const RegisterField& f : m_mapping.fields)
        target.Fields(f.ordinal).setValue(
            f.kind == FieldKind::SerialNumber ? QVariant(serial) : values.value(f.ordinal));
}

// Inside the caller's write: keeps row `key`, deletes it and numbers the rest 1..N.
void RecordEditor::removeRow(std::int64_t key)
{
    KeptDeletions(*Db, m_mapping.table).keep(key, m_clock());
    Db->Execute(QStringLiteral("DELETE FROM %1 WHERE %2 = %3")
                    .arg(m_mapping.table, Db->rowIdentity())
                    .arg(key));
    renumber();
}

} // namespace registers
