#include "registers/RecordEditor.h"

#include "agenda/AgendaTexts.h"
#include "agenda/SaveClashCheck.h"
#include "data/DayName.h"
#include "data/DiarySchema.h"
#include "data/DiaryDatabase.h"
#include "data/DiaryLocation.h"
#include "data/ProgramFolder.h"
#include "platform/jet/Database.h"
#include "platform/jet/Recordset.h"
#include "platform/jet/Transaction.h"
#include "platform/varnel/KannadaDigits.h"
#include "platform/jet/JetError.h"
#include "platform/jet/SqlLiteral.h"
#include "registers/ClashCandidate.h"
#include "registers/KeptDeletions.h"
#include "registers/RegisterTexts.h"
#include "registers/SharingTexts.h"
#include "registers/UndoTexts.h"

#include <algorithm>
#include <utility>

namespace registers {

namespace {

// A register at the navigator's limit cannot take another record.
QString registerFullMessage()
{
    return texts::registerFullNotice(RecordEditor::kMaximumRecords);
}

// The pickers show HH:mm, so a new record's time is the minute shown.
QTime wholeMinutes(const QTime& t)
{
    return QTime(t.hour(), t.minute());
}

QByteArray varnelText(const QString& kannada)
{
    return varnel::encode(kannada).bytes;
}

// A diary that can only be read is browsed; the user hears once per run that saving fails.
void tellOnceThatChangesCannotBeSaved(RecordEditorView& view)
{
    static bool told = false;
    if (std::exchange(told, true))
        return;
    view.messageText(texts::readOnlyDiaryNotice());
}

// The form's dates and times, as the clash check reads them.
RecordTimes formTimes(const RecordEditorView& view)
{
    return {[&view](int ordinal) { return view.date(ordinal); },
            [&view](int ordinal) { return view.time(ordinal); }};
}

} // namespace

RecordEditor::RecordEditor(const RegisterMapping& mapping, RecordEditorView& view)
    : m_mapping(mapping), m_view(view), m_clock([] { return QDateTime::currentDateTime(); })
{
}

RecordEditor::~RecordEditor() = default;

void RecordEditor::OpenRegister()
{
    OpenRegister(data::diaryPath());
}

void RecordEditor::OpenRegister(const QString& databasePath)
{
    Db = data::OpenDiaryDatabase(databasePath);
    m_clashMinutes = agenda::clashMinutes();
    const std::int64_t version = Db->DataVersion();
    Rs = Db->OpenRecordset(m_mapping.openQuery, jet::RecordsetType::Dynaset);
    m_seenDataVersion = version;
    if (Db->isReadOnly())
        tellOnceThatChangesCannotBeSaved(m_view);
    if (Rs->RecordCount() < 1) {
        NewRecord();
        m_view.setNavigatorEnabled(false);
        return;
    }
    Rs->MoveLast();
    Rs->MoveFirst();
    Adding = false;
    ShowRecord();
    m_view.setNavigatorMaximum(Rs->RecordCount());
    setState(State::Browsing);
}

// The current row is read whole before anything of it is shown: a read that fails leaves the
// window showing what it showed.
void RecordEditor::ShowRecord()
{
    const std::int64_t key = Rs->Bookmark();
    showRow(key, columnsOf(*Rs));
}

void RecordEditor::showRow(std::int64_t key, const QList<QVariant>& values)
{
    m_shownKey = key;
    m_shownValues = values;
    for (const FieldSpec& f : m_mapping.fields) {
        const QVariant value = values.value(f.ordinal);
        switch (f.kind) {
        case FieldKind::SerialNumber: m_view.setSerialText(QString::number(value.toInt())); break;
        case FieldKind::Date: m_view.setDate(f.ordinal, value.toDate()); break;
        case FieldKind::Time: m_view.setTime(f.ordinal, value.toTime()); break;
        case FieldKind::DayName:
        case FieldKind::Text: m_view.setText(f.ordinal, value.toByteArray()); break;
        }
    }
}

void RecordEditor::NewRecord()
{
    const QDateTime now = m_clock();
    m_view.setSerialText(QString::number(storedCount() + 1));
    for (const FieldSpec& f : m_mapping.fields) {
        switch (f.kind) {
        case FieldKind::SerialNumber:
        case FieldKind::DayName: break;
        case FieldKind::Date:
            m_view.setDate(f.ordinal, now.date());
            setDayNameOf(f.ordinal);
            break;
        case FieldKind::Time: m_view.setTime(f.ordinal, wholeMinutes(now.time())); break;
        case FieldKind::Text: m_view.setText(f.ordinal, QByteArray()); break;
        }
    }
    // The new row is written by SaveRecord in one go; nothing is pending in the file meanwhile.
    m_blankForm = formValues();
    Adding = true;
    m_view.setNavigatorEnabled(false);
    setState(Rs->RecordCount() > 0 ? State::Adding : State::AddingFirst);
}

void RecordEditor::ImageNew_Click()
{
    if (!Rs || Adding)
        return;
    if (Rs->RecordCount() >= kMaximumRecords) {
        m_view.messageText(registerFullMessage());
        return;
    }
    keepingPlace([this] { NewRecord(); });
}

bool RecordEditor::refuseMissingOrUnencodable()
{
    for (int ordinal : m_mapping.requiredTexts) {
        const varnel::Encoded t = m_view.text(ordinal);
        if (t.bytes.isEmpty() && t.ok()) {
            m_view.message(m_mapping.missingMessage);
            return true;
        }
    }
    for (const FieldSpec& f : m_mapping.fields) {
        if (f.kind != FieldKind::Text)
            continue;
        const QList<varnel::Refusal> refused = m_view.text(f.ordinal).refusals;
        if (!refused.isEmpty()) {
            // "In the field «…»:" — positions count within that field.
            m_view.messageText(
                QStringLiteral("«%1» ಕ್ಷೇತ್ರದಲ್ಲಿ: ").arg(varnel::decode(f.caption).trimmed()) +
                varnel::refusalMessage(refused));
            return true;
        }
    }
    return false;
}

void RecordEditor::ImageSave_Click()
{
    if (!Rs || refuseMissingOrUnencodable())
        return;
    if (m_view.ask(texts::saveQuestion))
        keepingPlace([this] { SaveRecord(); });
}

void RecordEditor::SaveRecord()
{
    if (Adding)
        saveNew();
    else
        saveChanged(0);
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
    const std::optional<agenda::SaveCandidate> candidate =
        clashCandidate(m_mapping, formTimes(m_view), std::nullopt);
    agenda::SaveClashCheck check(m_clashMinutes);
    for (;;) {
        QList<agenda::Entry> clashes;
        {
            jet::Transaction transaction(*Db);
            serial = storedCount() + 1;
            if (serial <= kMaximumRecords && candidate)
                clashes = check.newClashes(*Db, *candidate);
            if (serial <= kMaximumRecords && clashes.isEmpty()) {
                // While nobody else wrote since the register was read, the new row simply
                // joins the end of it; otherwise the register is read afresh afterwards.
                current = holdsStoredRegister() && Rs->RecordCount() == serial - 1;
                ownSteps = Db->OwnDataVersionSteps();
                Rs->AddNew();
                writeFields(*Rs, serial);
                Rs->Update();
                Rs->MoveLast();
                key = Rs->Bookmark();
                saved = columnsOf(*storedRow(key));
                transaction.commit();
                takeOwnSteps(ownSteps);
            }
        }
        if (clashes.isEmpty())
            break;
        if (!m_view.askText(agenda::texts::clashQuestion(clashes)))
            return;
        check.accept(clashes);
    }
    if (serial > kMaximumRecords) {
        m_view.messageText(registerFullMessage());
        return;
    }
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
    const std::optional<agenda::SaveCandidate> candidate =
        movedInTime(m_mapping, formTimes(m_view), m_shownValues)
            ? clashCandidate(m_mapping, formTimes(m_view), m_shownKey)
            : std::nullopt;
    agenda::SaveClashCheck check(m_clashMinutes);
    for (;;) {
        QList<agenda::Entry> clashes;
        {
            jet::Transaction transaction(*Db);
            auto row = storedRow(key);
            stored = compareWithShown(*row);
            // Stored as typed already (a save whose answer was lost, or another window's same
            // change): nothing is left to write.
            if (stored == Stored::Changed && holdsForm(*row))
                stored = Stored::Unchanged;
            if (stored != Stored::Vanished)
                storedNow = columnsOf(*row);
            if (stored == Stored::Unchanged && candidate)
                clashes = check.newClashes(*Db, *candidate);
            if (stored == Stored::Unchanged && clashes.isEmpty()) {
                current = holdsStoredRegister();
                const std::int64_t ownSteps = Db->OwnDataVersionSteps();
                const int serial = row->Fields(0).Value().toInt();
                row->Edit();
                writeFields(*row, serial);
                row->Update();
                saved = columnsOf(*storedRow(key));
                transaction.commit();
                takeOwnSteps(ownSteps);
            }
        }
        if (clashes.isEmpty())
            break;
        if (!m_view.askText(agenda::texts::clashQuestion(clashes)))
            return;
        check.accept(clashes);
    }
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
    for (const FieldSpec& f : m_mapping.fields) {
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

void RecordEditor::ImageCancel_Click()
{
    if (Rs && Adding && m_view.ask(texts::cancelQuestion))
        keepingPlace([this] { CancelNew(); });
}

// Shows the last record, of the register as stored now. It is read before the window leaves
// the new record, so a failure leaves that as typed, still to be saved or cancelled.
void RecordEditor::CancelNew()
{
    if (!holdsStoredRegister())
        reread();
    const int count = Rs->RecordCount();
    if (count < 1) {
        leaveNew();
        NewRecord();
        return;
    }
    findSerial(count);
    const std::int64_t key = Rs->Bookmark();
    const QList<QVariant> values = columnsOf(*Rs);
    leaveNew();
    m_navigating = true;
    m_view.setNavigatorMaximum(count);
    m_view.setNavigatorValue(count);
    m_navigating = false;
    showRow(key, values);
}

void RecordEditor::leaveNew()
{
    Adding = false;
    setState(State::Browsing);
    m_view.showNewCaptionInsteadOfCancel();
    m_view.setNavigatorEnabled(true);
}

void RecordEditor::ImageDelete_Click()
{
    if (Rs && !Adding && Rs->RecordCount() > 0 && m_view.ask(texts::deleteQuestion))
        keepingPlace([this] { DeleteRecord(); });
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

void RecordEditor::VScroll1_Change()
{
    if (!Rs || m_navigating)
        return;
    keepingPlace([this] {
        if (!holdsStoredRegister()) {
            // Another window or program changed the diary: browse what is stored now.
            refreshTo(std::nullopt);
            return;
        }
        findSerial(m_view.navigatorValue());
        if (!Rs->NoMatch())
            ShowRecord();
        else
            keepNavigatorAtShown();
    });
}

void RecordEditor::DatePicker_Change(int ordinal)
{
    if (m_mapping.keepsDatesInOrder()) {
        const int from = m_mapping.departureDate;
        const int to = m_mapping.arrivalDate;
        if (ordinal == from && m_view.date(from) > m_view.date(to))
            m_view.setDate(to, m_view.date(from));
        else if (ordinal == to && m_view.date(to) < m_view.date(from))
            m_view.setDate(from, m_view.date(to));
        setDayNameOf(from);
        setDayNameOf(to);
        return;
    }
    setDayNameOf(ordinal);
}

void RecordEditor::findSerial(int serial)
{
    Rs->FindFirst(QStringLiteral("sl_no=%1").arg(serial));
}

void RecordEditor::setDayNameOf(int dateOrdinal)
{
    const FieldSpec& f = m_mapping.field(dateOrdinal);
    if (f.kind == FieldKind::Date && f.dayOrdinal >= 0)
        m_view.setText(f.dayOrdinal, data::DayName(m_view.date(dateOrdinal)));
}

void RecordEditor::setState(State state)
{
    m_state = state;
    ButtonStates b;
    switch (state) {
    case State::Browsing: break;
    case State::Adding: b = {false, true, true, false, false}; break;
    case State::AddingFirst: b = {false, false, false, false, false}; break;
    }
    m_view.setButtons(b);
}

int RecordEditor::storedCount()
{
    auto count = Db->OpenRecordset(QStringLiteral("Select count(*) from %1").arg(m_mapping.table),
                                   jet::RecordsetType::Snapshot);
    return count->Fields(0).Value().toInt();
}

std::unique_ptr<jet::Recordset> RecordEditor::storedRow(std::int64_t key)
{
    return Db->OpenRecordset(QStringLiteral("Select * from %1 where %2 = %3")
                                 .arg(m_mapping.table, Db->rowIdentity())
                                 .arg(key),
                             jet::RecordsetType::Dynaset);
}

RecordEditor::Stored RecordEditor::compareWithShown(jet::Recordset& row) const
{
    return compareWith(row, m_shownValues);
}

RecordEditor::Stored RecordEditor::compareWith(jet::Recordset& row,
                                               const QList<QVariant>& values) const
{
    if (row.RecordCount() < 1)
        return Stored::Vanished;
    // The serial number is left out: a renumbering after another deletion is no change.
    for (const FieldSpec& f : m_mapping.fields) {
        if (f.kind != FieldKind::SerialNumber &&
            row.Fields(f.ordinal).Value() != values.value(f.ordinal))
            return Stored::Changed;
    }
    return Stored::Unchanged;
}

QList<QVariant> RecordEditor::columnsOf(jet::Recordset& row) const
{
    QList<QVariant> values;
    for (const FieldSpec& f : m_mapping.fields)
        values << row.Fields(f.ordinal).Value();
    return values;
}

// Reads the register afresh and shows the row `key` under its present number, or, when it is
// gone, the record the navigator points at; an empty register starts a first record.
void RecordEditor::refreshTo(std::optional<std::int64_t> key)
{
    reread();
    const int count = Rs->RecordCount();
    Adding = false;
    if (count < 1) {
        NewRecord();
        return;
    }
    int serial = qBound(1, m_view.navigatorValue(), count);
    if (key) {
        Rs->FindFirst(QStringLiteral("%1=%2").arg(Db->rowIdentity()).arg(*key));
        if (!Rs->NoMatch())
            serial = Rs->Fields(0).Value().toInt();
    }
    setState(State::Browsing);
    m_view.setNavigatorEnabled(true);
    navigateTo(serial, count);
}

void RecordEditor::navigateTo(int serial, int count)
{
    m_navigating = true;
    m_view.setNavigatorMaximum(count);
    m_view.setNavigatorValue(serial);
    m_navigating = false;
    findSerial(serial);
    if (!Rs->NoMatch())
        ShowRecord();
}

// The version is taken before the rows are read: a commit meanwhile is seen at the next look.
void RecordEditor::reread()
{
    const std::int64_t version = Db->DataVersion();
    Rs->Requery();
    m_seenDataVersion = version;
    m_unread = false;
}

bool RecordEditor::holdsStoredRegister()
{
    return !m_unread && Db->DataVersion() == m_seenDataVersion;
}

// Inside a write, before its commit, `ownSteps` was OwnDataVersionSteps: the steps the commit
// made are this window's own, and no sign that another changed the register.
void RecordEditor::takeOwnSteps(std::int64_t ownSteps)
{
    m_seenDataVersion += Db->OwnDataVersionSteps() - ownSteps;
}

// A step that failed (the server unreachable, a statement refused, the diary busy) leaves the
// navigator at the number of the record on screen, a record being added as typed, and this
// window's rows to be read afresh before they are trusted again; the failure goes on to the
// window, which shows its message.
void RecordEditor::keepingPlace(const std::function<void()>& step)
{
    try {
        step();
    } catch (const jet::JetError& error) {
        m_unread = true;
        keepNavigatorAtShown();
        // Whether the change was stored is not known: what is stored is shown as soon as it
        // can be read (a record being typed stays as typed).
        if (error.number() == jet::errors::kCommitOutcomeUnknown && !Adding) {
            try {
                refreshTo(m_shownKey);
            } catch (const jet::JetError&) {
                // Still unreachable: the next step reads it first.
            }
        }
        throw;
    } catch (...) {
        m_unread = true;
        keepNavigatorAtShown();
        throw;
    }
}

void RecordEditor::keepNavigatorAtShown()
{
    if (Adding || !m_shownKey || m_shownValues.isEmpty())
        return;
    const int serial = m_shownValues.value(0).toInt();
    m_navigating = true;
    m_view.setNavigatorMaximum(std::max(Rs->RecordCount(), serial));
    m_view.setNavigatorValue(serial);
    m_navigating = false;
}

void RecordEditor::writeValues(jet::Recordset& target, const QList<QVariant>& values, int serial)
{
    for (const FieldSpec& f : m_mapping.fields)
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
        m_view.messageText(registerFullMessage());
        return;
    }
    // The number it had as stored, which another window's deletion may have lowered since this
    // window showed it.
    const int serial = KeptDeletions::numberOnReturn(found->record.value(0).toInt(), count);
    if (!m_view.askText(texts::undoDeletionQuestion().arg(
            varnel::kannadaDigits(QString::number(serial)), m_mapping.named(found->record))))
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
    case KeptDeletions::Outcome::RegisterFull: m_view.messageText(registerFullMessage()); return;
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
    const std::optional<agenda::SaveCandidate> candidate =
        step.kind == UndoStep::Kind::Change && movedInTime(m_mapping, before, step.saved)
            ? clashCandidate(m_mapping, before, step.id)
            : std::nullopt;
    agenda::SaveClashCheck check(m_clashMinutes);
    Stored stored = Stored::Vanished;
    for (;;) {
        QList<agenda::Entry> clashes;
        {
            jet::Transaction transaction(*Db);
            auto row = storedRow(step.id);
            stored = compareWith(*row, step.saved);
            if (stored == Stored::Unchanged && candidate)
                clashes = check.newClashes(*Db, *candidate);
            if (stored == Stored::Unchanged && clashes.isEmpty()) {
                writeUndo(step, std::move(row));
                transaction.commit();
            }
        }
        if (clashes.isEmpty())
            break;
        if (!m_view.askText(agenda::texts::clashQuestion(clashes)))
            return;
        check.accept(clashes);
    }
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

// What the form shows, column by column (the serial number aside).
QList<QVariant> RecordEditor::formValues() const
{
    QList<QVariant> values;
    for (const FieldSpec& f : m_mapping.fields) {
        switch (f.kind) {
        case FieldKind::SerialNumber: values << QVariant(); break;
        case FieldKind::Date: values << m_view.date(f.ordinal); break;
        case FieldKind::Time: values << m_view.time(f.ordinal); break;
        case FieldKind::DayName:
        case FieldKind::Text: values << m_view.text(f.ordinal).bytes; break;
        }
    }
    return values;
}

// Whether `row` holds what the form shows (its serial number aside).
bool RecordEditor::holdsForm(jet::Recordset& row) const
{
    if (row.RecordCount() < 1)
        return false;
    for (const FieldSpec& f : m_mapping.fields) {
        const QVariant stored = row.Fields(f.ordinal).Value();
        bool same = true;
        switch (f.kind) {
        case FieldKind::SerialNumber: break;
        case FieldKind::Date: same = stored.toDate() == m_view.date(f.ordinal); break;
        case FieldKind::Time: same = stored.toTime() == m_view.time(f.ordinal); break;
        case FieldKind::DayName:
        case FieldKind::Text: same = stored.toByteArray() == m_view.text(f.ordinal).bytes; break;
        }
        if (!same)
            return false;
    }
    return true;
}

// A stored record holding exactly what the form shows, looked for among those of its date.
std::optional<std::int64_t> RecordEditor::storedCopyOfForm()
{
    const auto date = std::find_if(m_mapping.fields.begin(), m_mapping.fields.end(),
                                   [](const FieldSpec& f) { return f.kind == FieldKind::Date; });
    if (date == m_mapping.fields.end())
        return std::nullopt;
    const auto sameDay = Db->OpenRecordset(
        QStringLiteral("Select * from %1 where %2 = %3")
            .arg(m_mapping.table, data::registerColumns(m_mapping.table).value(date->ordinal),
                 jet::SqlLiteral(m_view.date(date->ordinal).toString(Qt::ISODate))),
        jet::RecordsetType::Dynaset);
    for (; sameDay->RecordCount() > 0 && !sameDay->Eof(); sameDay->MoveNext()) {
        if (holdsForm(*sameDay))
            return sameDay->Bookmark();
    }
    return std::nullopt;
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
