#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include <QDateTime>
#include <QList>
#include <QVariant>

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

    State state() const { return m_state; }

    // Where "today" and "now" come from; tests pin it.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

private:
    void ShowRecord();
    void NewRecord();
    void SaveRecord();
    void CancelNew();
    void DeleteRecord();

    enum class Stored { Unchanged, Changed, Vanished };

    void findSerial(int serial);
    void writeFields(jet::Recordset& target, int serial);
    int storedCount();
    std::unique_ptr<jet::Recordset> storedRow(std::int64_t key);
    Stored compareWithShown(jet::Recordset& row) const;
    void saveNew();
    void saveChanged(int attempt);
    void showSaved(int serial);
    void renumber();
    void refreshTo(std::optional<std::int64_t> key);
    void navigateTo(int serial, int count);
    void rememberDataVersion();
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
    bool m_navigating = false; // the editor itself moves the navigator
};

} // namespace registers
