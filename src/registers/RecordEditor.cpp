#include "registers/RecordEditor.h"

#include "data/DayName.h"
#include "data/DiaryDatabase.h"
#include "data/ProgramFolder.h"
#include "platform/jet/Database.h"
#include "platform/jet/Recordset.h"
#include "platform/jet/Transaction.h"
#include "registers/RegisterTexts.h"
#include "registers/SharingTexts.h"

#include <utility>

namespace registers {

namespace {

// A register at the navigator's limit cannot take another record.
QString registerFullMessage()
{
    return QStringLiteral("ಈ ದಾಖಲಾತಿಯಲ್ಲಿ ಈಗಾಗಲೇ %1 ದಾಖಲೆಗಳಿವೆ; ಇನ್ನು ಹೊಸ ದಾಖಲೆ ಸೇರಿಸಲು ಸಾಧ್ಯವಿಲ್ಲ. "
                          "ಹಳೆಯ ದಾಖಲೆಗಳನ್ನು ಅಳಿಸಿದ ನಂತರ ಮತ್ತೆ ಪ್ರಯತ್ನಿಸಿ.")
        .arg(RecordEditor::kMaximumRecords);
}

QTime wholeSeconds(const QTime& t)
{
    return QTime(t.hour(), t.minute(), t.second());
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

} // namespace

RecordEditor::RecordEditor(const RegisterMapping& mapping, RecordEditorView& view)
    : mapping_(mapping), view_(view), clock_([] { return QDateTime::currentDateTime(); })
{
}

RecordEditor::~RecordEditor() = default;

void RecordEditor::OpenRegister()
{
    OpenRegister(data::programFolder() + QStringLiteral("\\Tarnalist.mdb"));
}

void RecordEditor::OpenRegister(const QString& databasePath)
{
    Db = data::OpenDiaryDatabase(databasePath);
    Rs = Db->OpenRecordset(mapping_.openQuery, jet::RecordsetType::Dynaset);
    rememberDataVersion();
    if (Db->isReadOnly())
        tellOnceThatChangesCannotBeSaved(view_);
    if (Rs->RecordCount() < 1) {
        NewRecord();
        view_.setNavigatorEnabled(false);
        return;
    }
    Rs->MoveLast();
    Rs->MoveFirst();
    Adding = false;
    ShowRecord();
    view_.setNavigatorMaximum(Rs->RecordCount());
    setState(State::Browsing);
}

void RecordEditor::ShowRecord()
{
    shownKey_ = Rs->Bookmark();
    shownValues_.clear();
    for (const FieldSpec& f : mapping_.fields) {
        const QVariant value = Rs->Fields(f.ordinal).Value();
        shownValues_ << value;
        switch (f.kind) {
        case FieldKind::SerialNumber: view_.setSerialText(QString::number(value.toInt())); break;
        case FieldKind::Date: view_.setDate(f.ordinal, value.toDate()); break;
        case FieldKind::Time: view_.setTime(f.ordinal, value.toTime()); break;
        case FieldKind::DayName:
        case FieldKind::Text: view_.setText(f.ordinal, value.toByteArray()); break;
        }
    }
}

void RecordEditor::NewRecord()
{
    const QDateTime now = clock_();
    view_.setSerialText(QString::number(storedCount() + 1));
    for (const FieldSpec& f : mapping_.fields) {
        switch (f.kind) {
        case FieldKind::SerialNumber:
        case FieldKind::DayName: break;
        case FieldKind::Date:
            view_.setDate(f.ordinal, now.date());
            setDayNameOf(f.ordinal);
            break;
        case FieldKind::Time: view_.setTime(f.ordinal, wholeSeconds(now.time())); break;
        case FieldKind::Text: view_.setText(f.ordinal, QByteArray()); break;
        }
    }
    // The new row is written by SaveRecord in one go; nothing is pending in the file meanwhile.
    Adding = true;
    view_.setNavigatorEnabled(false);
    setState(Rs->RecordCount() > 0 ? State::Adding : State::AddingFirst);
}

void RecordEditor::ImageNew_Click()
{
    if (!Rs || Adding)
        return;
    if (Rs->RecordCount() >= kMaximumRecords) {
        view_.messageText(registerFullMessage());
        return;
    }
    NewRecord();
}

bool RecordEditor::refuseMissingOrUnencodable()
{
    for (int ordinal : mapping_.requiredTexts) {
        const varnel::Encoded t = view_.text(ordinal);
        if (t.bytes.isEmpty() && t.ok()) {
            view_.message(mapping_.missingMessage);
            return true;
        }
    }
    for (const FieldSpec& f : mapping_.fields) {
        if (f.kind != FieldKind::Text)
            continue;
        const QList<varnel::Refusal> refused = view_.text(f.ordinal).refusals;
        if (!refused.isEmpty()) {
            // "In the field «…»:" — positions count within that field.
            view_.messageText(
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
    if (view_.ask(texts::saveQuestion))
        SaveRecord();
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
void RecordEditor::saveNew()
{
    int serial = 0;
    std::int64_t key = 0;
    bool current = false;
    {
        jet::Transaction transaction(*Db);
        serial = storedCount() + 1;
        if (serial <= kMaximumRecords) {
            // While nobody else wrote since the register was read, the new row simply joins
            // the end of it; otherwise the register is read afresh afterwards.
            current = Db->DataVersion() == seenDataVersion_ && Rs->RecordCount() == serial - 1;
            Rs->AddNew();
            writeFields(*Rs, serial);
            Rs->Update();
            Rs->MoveLast();
            key = Rs->Bookmark();
            transaction.commit();
        }
    }
    if (serial > kMaximumRecords) {
        view_.messageText(registerFullMessage());
        return;
    }
    if (current)
        showSaved(serial);
    else
        refreshTo(key);
    view_.saveNotice();
}

void RecordEditor::showSaved(int serial)
{
    Adding = false;
    setState(State::Browsing);
    view_.setNavigatorEnabled(true);
    navigateTo(serial, Rs->RecordCount());
}

// A change is written to the row that was shown, under the serial number it has now, and only
// while nobody else changed that row since it was shown.
void RecordEditor::saveChanged(int attempt)
{
    const std::int64_t key = shownKey_.value_or(0);
    Stored stored = Stored::Vanished;
    QList<QVariant> storedNow;
    bool current = false;
    int serial = 0;
    {
        jet::Transaction transaction(*Db);
        auto row = storedRow(key);
        stored = compareWithShown(*row);
        if (stored == Stored::Changed) {
            for (const FieldSpec& f : mapping_.fields)
                storedNow << row->Fields(f.ordinal).Value();
        }
        if (stored == Stored::Unchanged) {
            current = Db->DataVersion() == seenDataVersion_;
            serial = row->Fields(0).Value().toInt();
            row->Edit();
            writeFields(*row, serial);
            row->Update();
            transaction.commit();
        }
    }
    switch (stored) {
    case Stored::Unchanged:
        if (current)
            showSaved(serial);
        else
            refreshTo(key);
        view_.saveNotice();
        return;
    case Stored::Changed:
        // Asked outside the transaction: an open question must not hold other programs back.
        if (attempt < 3 && view_.ask(varnelText(texts::changedMeanwhileQuestion()))) {
            shownValues_ = storedNow;
            saveChanged(attempt + 1);
        } else {
            refreshTo(key);
        }
        return;
    case Stored::Vanished:
        if (view_.ask(varnelText(texts::deletedMeanwhileQuestion())))
            saveNew();
        else
            refreshTo(std::nullopt);
        return;
    }
}

void RecordEditor::writeFields(jet::Recordset& target, int serial)
{
    for (const FieldSpec& f : mapping_.fields) {
        jet::Field field = target.Fields(f.ordinal);
        switch (f.kind) {
        case FieldKind::SerialNumber: field.setValue(serial); break;
        case FieldKind::Date: field.setValue(view_.date(f.ordinal)); break;
        case FieldKind::Time: field.setValue(view_.time(f.ordinal)); break;
        case FieldKind::DayName:
        case FieldKind::Text: field.setValue(view_.text(f.ordinal).bytes); break;
        }
    }
}

void RecordEditor::ImageCancel_Click()
{
    if (Rs && Adding && view_.ask(texts::cancelQuestion))
        CancelNew();
}

void RecordEditor::CancelNew()
{
    Adding = false;
    setState(State::Browsing);
    view_.showNewCaptionInsteadOfCancel();
    view_.setNavigatorEnabled(true);
    if (view_.navigatorValue() == Rs->RecordCount()) {
        findSerial(Rs->RecordCount());
        ShowRecord();
    } else {
        view_.setNavigatorValue(Rs->RecordCount());
    }
}

void RecordEditor::ImageDelete_Click()
{
    if (Rs && !Adding && Rs->RecordCount() > 0 && view_.ask(texts::deleteQuestion))
        DeleteRecord();
}

void RecordEditor::DeleteRecord()
{
    // The deletion and the renumbering are one transaction: a failure or a crash part way
    // leaves the register as it was, never with a gap or a repeated serial number.
    const std::int64_t key = shownKey_.value_or(0);
    Stored stored = Stored::Vanished;
    bool current = false;
    try {
        jet::Transaction transaction(*Db);
        auto row = storedRow(key);
        stored = compareWithShown(*row);
        if (stored == Stored::Unchanged) {
            row.reset();
            current = Db->DataVersion() == seenDataVersion_;
            if (current) {
                Rs->FindFirst(QStringLiteral("%1=%2").arg(Db->rowIdentity()).arg(key));
                current = !Rs->NoMatch();
            }
            if (current) {
                Rs->Delete();
            } else {
                Db->Execute(QStringLiteral("DELETE FROM %1 WHERE %2 = %3")
                                .arg(mapping_.table, Db->rowIdentity())
                                .arg(key));
            }
            renumber();
            transaction.commit();
        }
    } catch (...) {
        refreshTo(key);
        throw;
    }
    switch (stored) {
    case Stored::Unchanged: break;
    case Stored::Changed:
        view_.messageText(texts::changedMeanwhileNotice());
        refreshTo(key);
        return;
    case Stored::Vanished:
        view_.messageText(texts::deletedMeanwhileNotice());
        refreshTo(std::nullopt);
        return;
    }
    if (!current) {
        Rs->Requery();
        rememberDataVersion();
    }
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
    const QString table = mapping_.table;
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
    if (!Rs || navigating_)
        return;
    if (Db->DataVersion() != seenDataVersion_) {
        // Another window or program changed the diary: browse what is stored now.
        refreshTo(std::nullopt);
        return;
    }
    findSerial(view_.navigatorValue());
    if (!Rs->NoMatch())
        ShowRecord();
}

void RecordEditor::DatePicker_Change(int ordinal)
{
    if (mapping_.keepsDatesInOrder()) {
        const int from = mapping_.departureDate;
        const int to = mapping_.arrivalDate;
        if (ordinal == from && view_.date(from) > view_.date(to))
            view_.setDate(to, view_.date(from));
        else if (ordinal == to && view_.date(to) < view_.date(from))
            view_.setDate(from, view_.date(to));
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
    const FieldSpec& f = mapping_.field(dateOrdinal);
    if (f.kind == FieldKind::Date && f.dayOrdinal >= 0)
        view_.setText(f.dayOrdinal, data::DayName(view_.date(dateOrdinal)));
}

void RecordEditor::setState(State state)
{
    state_ = state;
    ButtonStates b;
    switch (state) {
    case State::Browsing: break;
    case State::Adding: b = {false, true, true, false, false}; break;
    case State::AddingFirst: b = {false, false, false, false, false}; break;
    }
    view_.setButtons(b);
}

int RecordEditor::storedCount()
{
    auto count = Db->OpenRecordset(QStringLiteral("Select count(*) from %1").arg(mapping_.table),
                                   jet::RecordsetType::Snapshot);
    return count->Fields(0).Value().toInt();
}

std::unique_ptr<jet::Recordset> RecordEditor::storedRow(std::int64_t key)
{
    return Db->OpenRecordset(QStringLiteral("Select * from %1 where %2 = %3")
                                 .arg(mapping_.table, Db->rowIdentity())
                                 .arg(key),
                             jet::RecordsetType::Dynaset);
}

RecordEditor::Stored RecordEditor::compareWithShown(jet::Recordset& row) const
{
    if (row.RecordCount() < 1)
        return Stored::Vanished;
    // The serial number is left out: a renumbering after another deletion is no change.
    for (const FieldSpec& f : mapping_.fields) {
        if (f.kind != FieldKind::SerialNumber &&
            row.Fields(f.ordinal).Value() != shownValues_.value(f.ordinal))
            return Stored::Changed;
    }
    return Stored::Unchanged;
}

// Reads the register afresh and shows the row `key` under its present number, or, when it is
// gone, the record the navigator points at; an empty register starts a first record.
void RecordEditor::refreshTo(std::optional<std::int64_t> key)
{
    Rs->Requery();
    rememberDataVersion();
    const int count = Rs->RecordCount();
    Adding = false;
    if (count < 1) {
        NewRecord();
        return;
    }
    int serial = qBound(1, view_.navigatorValue(), count);
    if (key) {
        Rs->FindFirst(QStringLiteral("%1=%2").arg(Db->rowIdentity()).arg(*key));
        if (!Rs->NoMatch())
            serial = Rs->Fields(0).Value().toInt();
    }
    setState(State::Browsing);
    view_.setNavigatorEnabled(true);
    navigateTo(serial, count);
}

void RecordEditor::navigateTo(int serial, int count)
{
    navigating_ = true;
    view_.setNavigatorMaximum(count);
    view_.setNavigatorValue(serial);
    navigating_ = false;
    findSerial(serial);
    if (!Rs->NoMatch())
        ShowRecord();
}

void RecordEditor::rememberDataVersion()
{
    seenDataVersion_ = Db->DataVersion();
}

} // namespace registers
