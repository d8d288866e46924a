// The record editor's undo: this window's last deletion or save taken back, one step at a time,
// on the record as stored.
#include "registers/RecordEditor.h"

#include "platform/jet/Database.h"
#include "platform/jet/Recordset.h"
#include "platform/varnel/KannadaDigits.h"
#include "registers/ClashCandidate.h"
#include "registers/KeptDeletions.h"
#include "registers/RegisterTexts.h"
#include "registers/UndoTexts.h"

namespace registers {

void RecordEditor::remember(UndoStep step)
{
    m_undo.push_back(std::move(step));
    m_view.setUndoAvailable(true);
}

void RecordEditor::forgetLastStep()
{
    m_undo.pop_back();
    m_view.setUndoAvailable(!m_undo.empty());
}

void RecordEditor::Undo_Click()
{
    if (!Rs)
        return;
    // What was typed into a new record is the last thing done: it is what is taken back first,
    // and no stored record changes in the same step.
    if (Adding && formValues() != m_blankForm) {
        if (m_view.askText(texts::undoTypingQuestion()))
            keepingPlace([this] { CancelNew(); });
        return;
    }
    if (m_undo.empty())
        return;
    const UndoStep step = m_undo.back();
    keepingPlace([&] {
        if (step.kind == UndoStep::Kind::Deletion)
            undoDeletion(step);
        else
            undoSave(step);
    });
}

void RecordEditor::undoDeletion(const UndoStep& step)
{
    KeptDeletions kept(*Db, m_mapping.table);
    const std::optional<KeptDeletion> found = kept.find(step.id);
    if (!found) {
        forgetLastStep();
        refuseUndo(texts::undoAlreadyRestoredNotice(), std::nullopt);
        return;
    }
    const int count = storedCount();
    if (count >= kMaximumRecords) {
        m_view.messageText(texts::registerFullNotice(kMaximumRecords));
        return;
    }
    // The number it had as stored, which another window's deletion may have lowered since this
    // window showed it.
    const int serial = KeptDeletions::numberOnReturn(found->record.value(0).toInt(), count);
    if (!m_view.askText(texts::undoDeletionQuestion().arg(
            varnel::kannadaDigits(QString::number(serial)), m_mapping.named(found->record.values))))
        return;
    // Refused or failed, the step stays: it may succeed once the register has room.
    const KeptDeletions::Restored restored =
        kept.restoreAsking(step.id, m_clashMinutes,
                           [this](const QString& question) { return m_view.askText(question); });
    switch (restored.outcome) {
    case KeptDeletions::Outcome::Clashes: return;
    case KeptDeletions::Outcome::Restored:
        forgetLastStep();
        refreshTo(restored.key);
        return;
    case KeptDeletions::Outcome::NotKept:
        forgetLastStep();
        refuseUndo(texts::undoAlreadyRestoredNotice(), std::nullopt);
        return;
    case KeptDeletions::Outcome::RegisterFull:
        m_view.messageText(texts::registerFullNotice(kMaximumRecords));
        return;
    }
}

// A save is taken back only while the record is stored as this window saved it: a change
// returns it to the columns it replaced (under its present number), a new record goes as a
// deletion does.
void RecordEditor::undoSave(const UndoStep& step)
{
    const auto refuse = [&](Stored stored) {
        forgetLastStep();
        if (stored == Stored::Vanished)
            refuseUndo(texts::undoDeletedMeanwhileNotice(), std::nullopt);
        else
            refuseUndo(texts::undoChangedMeanwhileNotice(), step.id);
    };
    int serial = 0;
    {
        auto row = storedRow(step.id);
        const Stored stored = compareWith(*row, step.saved);
        if (stored != Stored::Unchanged) {
            refuse(stored);
            return;
        }
        serial = row->Fields(0).Value().toInt();
    }
    const QString number = varnel::kannadaDigits(QString::number(serial));
    const QString question =
        step.kind == UndoStep::Kind::Change
            ? texts::undoChangeQuestion().arg(number, m_mapping.named(step.saved),
                                              m_mapping.named(step.before))
            : texts::undoAdditionQuestion().arg(number, m_mapping.named(step.saved));
    if (!m_view.askText(question))
        return;
    // Taking a change back moves the record to its former date and time, checked for clashes as
    // a save is.
    const RecordTimes before = RecordTimes::of(step.before);
    const std::optional<engagements::SaveCandidate> candidate =
        step.kind == UndoStep::Kind::Change && movedInTime(m_mapping, before, step.saved)
            ? clashCandidate(m_mapping, before, step.id)
            : std::nullopt;
    Stored stored = Stored::Vanished;
    std::unique_ptr<jet::Recordset> row;
    const bool answered = writeAskingAboutClashes(
        candidate,
        [&] {
            row = storedRow(step.id);
            stored = compareWith(*row, step.saved);
            return stored == Stored::Unchanged;
        },
        [&] { writeUndo(step, std::move(row)); });
    row.reset();
    if (!answered)
        return;
    if (stored != Stored::Unchanged) {
        refuse(stored);
        return;
    }
    forgetLastStep();
    refreshTo(step.kind == UndoStep::Kind::Change ? std::optional(step.id) : std::nullopt);
}

// Inside the undo's write, row `row` being stored as the step saved it.
void RecordEditor::writeUndo(const UndoStep& step, std::unique_ptr<jet::Recordset> row)
{
    if (step.kind == UndoStep::Kind::Change) {
        const int now = row->Fields(0).Value().toInt();
        row->Edit();
        writeValues(*row, step.before, now);
        row->Update();
    } else {
        row.reset();
        removeRow(step.id);
    }
}

// Another window or copy overtook the step: the user hears so; a window that is browsing shows
// what is stored now.
void RecordEditor::refuseUndo(const QString& notice, std::optional<std::int64_t> key)
{
    m_view.messageText(notice);
    if (!Adding)
        refreshTo(key);
}

} // namespace registers
