#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QDateTime>
#include <QList>
#include <QVariant>

#include "engagements/SaveClashCheck.h"
#include "registers/RecordEditorView.h"
#include "registers/RegisterMapping.h"

namespace jet {
class Database;
class Recordset;
} // namespace jet

namespace registers {

// The record editor shared by the three register windows: one record on screen, a navigator
// whose value is the record's serial number, and serial numbers kept 1..N at every moment.
class RecordEditor {
public:
    enum class State { Browsing, Adding, AddingFirst };

    // The navigator is a 16-bit scroll bar, so a register holds at most this many records.
    static constexpr int kMaximumRecords = 32767;

    RecordEditor(const RegisterMapping& mapping, RecordEditorView& view);
    ~RecordEditor();

    // Form_Load: opens the diary in the program's folder and shows the first record.
    void OpenRegister();
    // Opens a given database file instead (tests and benchmarks).
    void OpenRegister(const QString& databasePath);

    void ImageNew_Click();
    void ImageSave_Click();
    void ImageCancel_Click();
    void ImageDelete_Click();
    void VScroll1_Change();
    // DTPickerDate_Change, DTPDateFrom_Change and DTPDateTo_Change: the user changed a date.
    void DatePicker_Change(int ordinal);
    // Ctrl+Z: takes back this window's last deletion or save, one step at a time, after asking.
    void Undo_Click();

    State state() const { return m_state; }
    bool canUndo() const { return !m_undo.empty(); }
    // The row on screen as the editor knows it (a key of the table, none while adding).
    std::optional<std::int64_t> shownKey() const { return Adding ? std::nullopt : m_shownKey; }

    // Where "today" and "now" come from; tests pin it.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

private:
    // A step Undo_Click takes back: a deletion (kept under `id`), or a save of a change or of a
    // new record (row `id`, its columns as saved; a change's columns before it in `before`).
    struct UndoStep {
        enum class Kind { Deletion, Change, Addition };
        Kind kind = Kind::Deletion;
        std::int64_t id = 0;
        QList<QVariant> before;
        QList<QVariant> saved;
    };

    void ShowRecord();
    void showRow(std::int64_t key, const QList<QVariant>& values);
    void NewRecord();
    void SaveRecord();
    void CancelNew();
    void leaveNew();
    void DeleteRecord();

    enum class Stored { Unchanged, Changed, Vanished };

    void findSerial(int serial);
    void writeFields(jet::Recordset& target, int serial);
    int storedCount();
    std::unique_ptr<jet::Recordset> storedRow(std::int64_t key);
    Stored compareWithShown(jet::Recordset& row) const;
    Stored compareWith(jet::Recordset& row, const QList<QVariant>& values) const;
    QList<QVariant> columnsOf(jet::Recordset& row) const;
    void writeValues(jet::Recordset& target, const QList<QVariant>& values, int serial);
    void removeRow(std::int64_t key);
    void remember(UndoStep step);
    void forgetLastStep();
    void undoDeletion(const UndoStep& step);
    void undoSave(const UndoStep& step);
    void refuseUndo(const QString& notice, std::optional<std::int64_t> key);
    void saveNew();
    void writeNew();
    QList<QVariant> formValues() const;
    bool holdsForm(jet::Recordset& row) const;
    std::optional<std::int64_t> storedCopyOfForm();
    void writeUndo(const UndoStep& step, std::unique_ptr<jet::Recordset> row);
    bool writeAskingAboutClashes(const std::optional<engagements::SaveCandidate>& candidate,
                                 const std::function<bool()>& mayWrite,
                                 const std::function<void()>& write);
    void saveChanged(int attempt);
    void showSaved(std::int64_t key, const QList<QVariant>& saved, bool current);
    void renumber();
    void refreshTo(std::optional<std::int64_t> key);
    void navigateTo(int serial, int count);
    void reread();
    bool holdsStoredRegister();
    void takeOwnSteps(std::int64_t ownSteps);
    void keepingPlace(const std::function<void()>& step);
    void keepNavigatorAtShown();
    void setDayNameOf(int dateOrdinal);
    bool refuseMissingOrUnencodable();
    void setState(State state);

    const RegisterMapping& m_mapping;
    RecordEditorView& m_view;
    std::shared_ptr<jet::Database> Db;
    std::unique_ptr<jet::Recordset> Rs;
    bool Adding = false;
    State m_state = State::Browsing;
    std::function<QDateTime()> m_clock;

    // The record on screen as it was stored when shown: its identity in the table and its
    // columns. A save or delete acts on that row only while it is still stored as shown.
    std::optional<std::int64_t> m_shownKey;
    QList<QVariant> m_shownValues;
    std::int64_t m_seenDataVersion = 0;
    bool m_unread = false;        // a failure left this window's rows to be read afresh
    std::vector<UndoStep> m_undo; // this window's steps, the last one last
    bool m_navigating = false;    // the editor itself moves the navigator
    int m_clashMinutes = 60;      // the clash rule's setting, read when the register opens
    bool m_uncertainNew = false;  // the last new record's save may have been stored or not
    QList<QVariant> m_blankForm;  // a new record's form before anything was typed into it
};

} // namespace registers
