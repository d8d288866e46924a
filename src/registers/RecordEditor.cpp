#include "registers/RecordEditor.h"

#include "data/DayName.h"
#include "data/DiaryDatabase.h"
#include "data/DiaryLocation.h"
#include "data/DiarySchema.h"
#include "data/ProgramFolder.h"
#include "engagements/ClashTexts.h"
#include "engagements/SaveClashCheck.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetError.h"
#include "platform/jet/Recordset.h"
#include "platform/jet/SqlLiteral.h"
#include "platform/jet/Transaction.h"
#include "platform/varnel/KannadaDigits.h"
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

// A diary that can only be read is browsed; the user hears once per run that saving fails.
void tellOnceThatChangesCannotBeSaved(RecordEditorView& view)
{
    static bool told = false;
    if (std::exchange(told, true))
        return;
    view.messageText(texts::readOnlyDiaryNotice());
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
    m_clashMinutes = engagements::clashMinutes();
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
    for (const RegisterField& f : m_mapping.fields) {
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
    for (const RegisterField& f : m_mapping.fields) {
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
    for (const RegisterField& f : m_mapping.fields) {
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
    const RegisterField& f = m_mapping.field(dateOrdinal);
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

} // namespace registers
