#include "registers/RecordEditor.h"

#include "data/DayName.h"
#include "data/DiaryDatabase.h"
#include "data/ProgramFolder.h"
#include "platform/jet/Database.h"
#include "platform/jet/Recordset.h"
#include "platform/jet/Transaction.h"
#include "registers/RegisterTexts.h"

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
    for (const FieldSpec& f : mapping_.fields) {
        const QVariant value = Rs->Fields(f.ordinal).Value();
        switch (f.kind) {
        case FieldKind::SerialNumber:
            view_.setSerialText(QString::number(value.toInt()));
            break;
        case FieldKind::Date:
            view_.setDate(f.ordinal, value.toDate());
            break;
        case FieldKind::Time:
            view_.setTime(f.ordinal, value.toTime());
            break;
        case FieldKind::DayName:
        case FieldKind::Text:
            view_.setText(f.ordinal, value.toByteArray());
            break;
        }
    }
}

void RecordEditor::NewRecord()
{
    const QDateTime now = clock_();
    view_.setSerialText(QString::number(Rs->RecordCount() + 1));
    for (const FieldSpec& f : mapping_.fields) {
        switch (f.kind) {
        case FieldKind::SerialNumber:
        case FieldKind::DayName:
            break;
        case FieldKind::Date:
            view_.setDate(f.ordinal, now.date());
            setDayNameOf(f.ordinal);
            break;
        case FieldKind::Time:
            view_.setTime(f.ordinal, wholeSeconds(now.time()));
            break;
        case FieldKind::Text:
            view_.setText(f.ordinal, QByteArray());
            break;
        }
    }
    Rs->AddNew();
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
    QList<varnel::Refusal> refused;
    for (const FieldSpec& f : mapping_.fields) {
        if (f.kind == FieldKind::Text)
            refused += view_.text(f.ordinal).refusals;
    }
    if (!refused.isEmpty()) {
        view_.messageText(varnel::refusalMessage(refused));
        return true;
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
    const bool editing = !Adding;
    if (editing) {
        findSerial(view_.serialText().toInt());
        Rs->Edit();
    }
    try {
        writeFields();
        Rs->Update();
    } catch (...) {
        // A refused write leaves the stored record as it was; an edit is dropped so the next
        // Save starts afresh, a pending new record stays pending so nothing typed is lost.
        if (editing)
            Rs->CancelUpdate();
        throw;
    }
    view_.setNavigatorMaximum(Rs->RecordCount());
    view_.setNavigatorEnabled(true);
    if (Adding)
        view_.setNavigatorValue(Rs->RecordCount());
    Adding = false;
    setState(State::Browsing);
    view_.saveNotice();
}

void RecordEditor::writeFields()
{
    for (const FieldSpec& f : mapping_.fields) {
        jet::Field field = Rs->Fields(f.ordinal);
        switch (f.kind) {
        case FieldKind::SerialNumber:
            field.setValue(view_.serialText());
            break;
        case FieldKind::Date:
            field.setValue(view_.date(f.ordinal));
            break;
        case FieldKind::Time:
            field.setValue(view_.time(f.ordinal));
            break;
        case FieldKind::DayName:
        case FieldKind::Text:
            field.setValue(view_.text(f.ordinal).bytes);
            break;
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
    Rs->CancelUpdate();
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
    try {
        jet::Transaction transaction(*Db);
        findSerial(view_.serialText().toInt());
        Rs->Delete();
        const int count = Rs->RecordCount();
        if (count > 0) {
            Rs->MoveFirst();
            for (int i = 1; i <= count; ++i) {
                Rs->Edit();
                Rs->Fields(0).setValue(i);
                Rs->Update();
                if (i < count)
                    Rs->MoveNext();
            }
        }
        transaction.commit();
    } catch (...) {
        showStoredRecord();
        throw;
    }

    const int count = Rs->RecordCount();
    if (count > 0) {
        Rs->MoveLast();
        view_.setNavigatorMaximum(count);
        view_.setNavigatorValue(count);
        ShowRecord();
    } else {
        NewRecord();
    }
}

void RecordEditor::VScroll1_Change()
{
    if (!Rs)
        return;
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
    case State::Browsing:
        break;
    case State::Adding:
        b = {false, true, true, false, false};
        break;
    case State::AddingFirst:
        b = {false, false, false, false, false};
        break;
    }
    view_.setButtons(b);
}

// After a failed deletion the transaction has been rolled back and the record set has read
// the register again: show the record the navigator points at, so what is on screen is what
// is stored.
void RecordEditor::showStoredRecord()
{
    const int count = Rs->RecordCount();
    if (count < 1) {
        NewRecord();
        return;
    }
    view_.setNavigatorMaximum(count);
    view_.setNavigatorEnabled(true);
    setState(State::Browsing);
    findSerial(qBound(1, view_.navigatorValue(), count));
    if (!Rs->NoMatch())
        ShowRecord();
}

} // namespace registers
