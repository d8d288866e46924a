// How a record editor shares the diary with other windows and programs: what is stored now,
// whether its own rows are still the register as stored, and where it stands after a failure.
#include "registers/RecordEditor.h"

#include <algorithm>

#include "data/DiarySchema.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetError.h"
#include "platform/jet/Recordset.h"
#include "platform/jet/SqlLiteral.h"

namespace registers {

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
    for (const RegisterField& f : m_mapping.fields) {
        if (f.kind != FieldKind::SerialNumber &&
            row.Fields(f.ordinal).Value() != values.value(f.ordinal))
            return Stored::Changed;
    }
    return Stored::Unchanged;
}

QList<QVariant> RecordEditor::columnsOf(jet::Recordset& row) const
{
    QList<QVariant> values;
    for (const RegisterField& f : m_mapping.fields)
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

// What the form shows, column by column (the serial number aside).
QList<QVariant> RecordEditor::formValues() const
{
    QList<QVariant> values;
    for (const RegisterField& f : m_mapping.fields) {
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
    for (const RegisterField& f : m_mapping.fields) {
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
    const auto date =
        std::find_if(m_mapping.fields.begin(), m_mapping.fields.end(),
                     [](const RegisterField& f) { return f.kind == FieldKind::Date; });
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

} // namespace registers
