// The record editor against raw sqlite3 on a register of 32,767 records.
#include <algorithm>
#include <memory>
#include <stdexcept>

#include <sqlite3.h>

#include <QTemporaryDir>

#include "Bench.h"
#include "RawSqlite.h"
#include "data/DiaryDatabase.h"
#include "data/DiarySchema.h"
#include "platform/jet/Database.h"
#include "platform/jet/Recordset.h"
#include "platform/jet/Transaction.h"
#include "registers/KeptDeletions.h"
#include "registers/RecordEditor.h"
#include "registers/RegisterMapping.h"

namespace {

constexpr int kRecords = registers::RecordEditor::kMaximumRecords;

// A window that always answers Yes and shows nothing; the navigator behaves as a scroll bar.
class SilentView : public registers::RecordEditorView {
public:
    registers::RecordEditor* editor = nullptr;
    QString serial;
    QDate dates[11];
    QTime times[11];
    QByteArray texts[11];
    int navMax = 1, navValue = 1;

    void setSerialText(const QString& text) override { serial = text; }
    QString serialText() const override { return serial; }
    void setDate(int o, const QDate& d) override { dates[o] = d; }
    QDate date(int o) const override { return dates[o]; }
    void setTime(int o, const QTime& t) override { times[o] = t; }
    QTime time(int o) const override { return times[o]; }
    void setText(int o, const QByteArray& v) override { texts[o] = v; }
    varnel::Encoded text(int o) const override { return {texts[o], {}}; }
    void setNavigatorMaximum(int m) override
    {
        navMax = m;
        if (navValue > m)
            setNavigatorValue(m);
    }
    void setNavigatorValue(int v) override
    {
        if (v == navValue)
            return;
        navValue = v;
        editor->VScroll1_Change();
    }
    int navigatorValue() const override { return navValue; }
    void setNavigatorEnabled(bool) override {}
    void setButtons(const registers::ButtonStates&) override {}
    void showNewCaptionInsteadOfCancel() override {}
    bool ask(const QByteArray&) override { return true; }
    void message(const QByteArray&) override {}
    void messageText(const QString&) override {}
    void saveNotice() override {}
};

struct OpenEditor {
    SilentView view;
    registers::RecordEditor editor{registers::RegisterMapping::local(), view};
    explicit OpenEditor(const QString& path)
    {
        view.editor = &editor;
        editor.OpenRegister(path);
    }
};

// A diary whose local register holds `rows` records.
struct Diary {
    QTemporaryDir dir;
    QString path;
    explicit Diary(int rows) : path(dir.path() + QStringLiteral("/Tarnalist.mdb"))
    {
        data::OpenDiaryDatabase(path);
        RawConnection raw(path);
        raw.exec("BEGIN");
        sqlite3_stmt* st = nullptr;
        check(sqlite3_prepare_v2(
                  raw.db,
                  "INSERT INTO local VALUES (?1, '2027-01-05', '¸ÉÆÃªÀÄªÁgÀ', '10:30:00', "
                  "'¥ÀÄ¸ÀÛPÀ ©qÀÄUÀqÉ ' || ?1, '¥ÀÄgÀ¨sÀªÀ£À', '42, ²ªÁf £ÀUÀgÀ', "
                  "'0398-12046153', '¸ÀAZÁ®PÀgÀÄ', '')",
                  -1, &st, nullptr),
              raw.db);
        for (int i = 1; i <= rows; ++i) {
            sqlite3_bind_int(st, 1, i);
            check(sqlite3_step(st), raw.db);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        raw.exec("COMMIT");
    }
};

const BenchRegistration editorOpen("editor-open", [] {
    Diary diary(kRecords);
    const double ours = benchMs([&] { OpenEditor e(diary.path); });
    // What the editor reads on opening: the register's keys in order, then its first record.
    const double raw = benchMs([&] {
        RawConnection c(diary.path);
        if (readKeysetAndRows(c.db, "SELECT rowid FROM local ORDER BY sl_no, rowid", "local",
                              {0}) == 0)
            throw std::runtime_error("empty register");
    });
    return BenchResult{ours, raw};
});

const BenchRegistration editorDeleteFirst("editor-delete-first", [] {
    Diary ourDiary(kRecords), rawDiary(kRecords);
    OpenEditor e(ourDiary.path);
    const double ours = benchMs([&] { e.editor.ImageDelete_Click(); });
    // The same work on sqlite3: the kept copy, the deletion and the renumbering in one write,
    // then the checkpoint the engine runs after every commit.
    RawConnection c(rawDiary.path);
    for (const QString& statement : data::keptDeletionsStatements())
        c.exec(statement.toUtf8().constData());
    const double raw = benchMs([&] {
        c.exec("BEGIN IMMEDIATE; INSERT INTO deleted_records (register_name, deleted_at, sl_no, "
               "tarna_date, day_name, tarna_time, topic, venue, address, telephone, "
               "contact_person, others) SELECT 'local', '2027-01-05 10:00:00', local.* FROM "
               "local WHERE sl_no = 1; DELETE FROM local WHERE sl_no = 1; "
               "UPDATE local SET sl_no = sl_no - 1 WHERE sl_no > 1; COMMIT;");
        passiveCheckpoint(c.db);
    });
    return BenchResult{ours, raw};
});

// What keeping a copy adds to a deletion: the first record's deletion as the editor writes it
// (one transaction: the row goes, the rest are numbered 1..N) with its kept copy, against the
// same deletion without one. The register's 1,000 kept deletions are there already, so the
// oldest goes each time.
const BenchRegistration editorDeleteKeptCopy("editor-delete-kept-copy", [] {
    const auto prepare = [](const Diary& diary) {
        RawConnection fill(diary.path);
        for (const QString& statement : data::keptDeletionsStatements())
            fill.exec(statement.toUtf8().constData());
        fill.exec("INSERT INTO deleted_records (register_name, deleted_at, sl_no, tarna_date, "
                  "day_name, tarna_time, topic, venue, address, telephone, contact_person, "
                  "others) SELECT 'local', '2027-01-05 10:00:00', local.* FROM local WHERE "
                  "sl_no <= 1000");
        return data::OpenDiaryDatabase(diary.path);
    };
    const auto deleteFirst = [](jet::Database& db, bool keep) {
        jet::Transaction transaction(db);
        const qint64 key = db.OpenRecordset(QStringLiteral("Select rowid from local where "
                                                           "sl_no = 1"),
                                            jet::RecordsetType::Snapshot)
                               ->Fields(0)
                               .Value()
                               .toLongLong();
        if (keep)
            registers::KeptDeletions(db, QStringLiteral("local")).keep(key, QDateTime());
        db.Execute(QStringLiteral("DELETE FROM local WHERE rowid = %1").arg(key));
        db.Execute(QStringLiteral("UPDATE local SET sl_no = -r.n FROM (SELECT rowid AS id, "
                                  "row_number() OVER (ORDER BY sl_no, rowid) AS n FROM local) AS "
                                  "r WHERE local.rowid = r.id AND local.sl_no <> r.n"));
        db.Execute(QStringLiteral("UPDATE local SET sl_no = -sl_no WHERE sl_no < 0"));
        transaction.commit();
    };
    Diary withCopy(kRecords), without(kRecords);
    const auto kept = prepare(withCopy);
    const auto plain = prepare(without);
    // Taken in turns, so that both see the same load of the machine.
    double ours = 1e9, raw = 1e9;
    for (int round = 0; round < 6; ++round) {
        ours = std::min(ours, benchMs([&] { deleteFirst(*kept, true); }));
        raw = std::min(raw, benchMs([&] { deleteFirst(*plain, false); }));
    }
    return BenchResult{ours, raw};
});

// One new record saved, each in its own commit as the user saves it; timed over a few saves
// so that one disk flush more or less does not decide the ratio.
const BenchRegistration editorSaveNew("editor-save-new", [] {
    constexpr int kSaves = 20;
    Diary ourDiary(kRecords - kSaves), rawDiary(kRecords - kSaves);
    OpenEditor e(ourDiary.path);
    const double ours = benchMs([&] {
        for (int i = 0; i < kSaves; ++i) {
            e.editor.ImageNew_Click();
            e.view.texts[4] = QByteArray("\xA5\xC0\xC4");
            e.view.texts[5] = QByteArray("\xB8\xC0\xDC\xBC\xC0");
            e.editor.ImageSave_Click();
        }
    });
    // The same work on sqlite3: the number worked out inside the write, the insert, the
    // commit and the checkpoint the engine runs after it.
    RawConnection c(rawDiary.path);
    Statement next(c.db, "SELECT count(*) + 1 FROM local");
    Statement insert(
        c.db,
        "INSERT INTO local VALUES (?1, '2027-01-05', '', '10:30:00', 'x', 'y', '', '', '', '')");
    const double raw = benchMs([&] {
        for (int i = 0; i < kSaves; ++i) {
            c.exec("BEGIN IMMEDIATE");
            check(sqlite3_step(next.stmt), c.db);
            sqlite3_bind_int(insert.stmt, 1, sqlite3_column_int(next.stmt, 0));
            sqlite3_reset(next.stmt);
            check(sqlite3_step(insert.stmt), c.db);
            sqlite3_reset(insert.stmt);
            c.exec("COMMIT");
            passiveCheckpoint(c.db);
        }
    });
    return BenchResult{ours / kSaves, raw / kSaves};
});

// As editor-save-new, each record on a day of its own: the clash check runs inside every
// save's write and finds nothing, so the figure is the save with its check; editor-save-new's
// records share one minute, so from the second on each clashes, is asked about and checked
// again before it is written.
const BenchRegistration editorSaveNewApart("editor-save-new-apart", [] {
    constexpr int kSaves = 20;
    Diary ourDiary(kRecords - kSaves), rawDiary(kRecords - kSaves);
    OpenEditor e(ourDiary.path);
    const double ours = benchMs([&] {
        for (int i = 0; i < kSaves; ++i) {
            e.editor.ImageNew_Click();
            e.view.dates[1] = QDate(2027, 3, 1).addDays(i);
            e.view.texts[4] = QByteArray("\xA5\xC0\xC4");
            e.view.texts[5] = QByteArray("\xB8\xC0\xDC\xBC\xC0");
            e.editor.ImageSave_Click();
        }
    });
    RawConnection c(rawDiary.path);
    Statement insert(
        c.db,
        "INSERT INTO local VALUES (?1, '2027-01-05', '', '10:30:00', 'x', 'y', '', '', '', '')");
    const double raw = benchMs([&] {
        for (int i = 0; i < kSaves; ++i) {
            sqlite3_bind_int(insert.stmt, 1, kRecords - kSaves + 1 + i);
            check(sqlite3_step(insert.stmt), c.db);
            sqlite3_reset(insert.stmt);
        }
    });
    return BenchResult{ours / kSaves, raw / kSaves};
});

} // namespace
