// The engine against raw sqlite3 on a full register of 32,767 rows in a temporary file.
#include <array>
#include <memory>
#include <stdexcept>
#include <vector>

#include <sqlite3.h>

#include <QByteArray>
#include <QDate>
#include <QTemporaryDir>
#include <QTime>

#include "Bench.h"
#include "RawSqlite.h"
#include "data/DiaryDatabase.h"
#include "platform/jet/Database.h"
#include "platform/jet/Recordset.h"
#include "platform/jet/StorageText.h"

namespace {

constexpr int kRows = 32767;

// One register row in the forms the windows write it.
struct Row {
    int serial;
    QDate date;
    QByteArray day;
    QTime time;
    QByteArray texts[6];
};

Row makeRow(int serial)
{
    Row row{serial,
            QDate(2024, 1, 1).addDays(serial % 700),
            QByteArray("\xB8\xC9\xC6\xC3\xAA\xC0\xC4\xAA\xC1\x67\xC0"),
            QTime(serial % 24, serial % 60),
            {}};
    const QByteArray topic(
        "\xA5\xC0\xC4\xB8\xC0\xDB\x50\xC0 \xA9\x71\xC0\xC4\x55\xC0\x71\xC0\xC9 ");
    for (int i = 0; i < 6; ++i)
        row.texts[i] = topic + QByteArray::number(serial * 7 + i);
    return row;
}

// A diary in a temporary folder whose `local` register holds `rows` rows, kept in `seed` too
// so every run starts from the same table.
struct Register {
    QTemporaryDir dir;
    std::shared_ptr<jet::Database> ours;
    std::unique_ptr<RawConnection> raw;
    std::vector<Row> rows;
    // The same rows in their stored forms, as a raw program would hold them.
    std::vector<std::array<QByteArray, 9>> stored;

    Register()
    {
        ours = data::OpenDiaryDatabase(dir.path() + QStringLiteral("\\Tarnalist.mdb"));
        raw = std::make_unique<RawConnection>(ours->path());
        raw->exec("CREATE TABLE seed AS SELECT * FROM local WHERE 0");
        rows.reserve(kRows);
        for (int i = 1; i <= kRows; ++i)
            rows.push_back(makeRow(i));
        stored.reserve(rows.size());
        for (const Row& row : rows) {
            std::array<QByteArray, 9> columns;
            columns[0] = row.date.toString(Qt::ISODate).toLatin1();
            columns[1] = jet::storageFromBytes(row.day);
            columns[2] = row.time.toString(QStringLiteral("HH:mm:ss")).toLatin1();
            for (int i = 0; i < 6; ++i)
                columns[size_t(3 + i)] = jet::storageFromBytes(row.texts[i]);
            stored.push_back(std::move(columns));
        }
        insertRaw("seed");
        restore();
    }

    // The rows through a prepared INSERT in one transaction: the baseline of `append`.
    void insertRaw(const char* table)
    {
        const QByteArray sql = QByteArray("INSERT INTO ") + table +
                               " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)";
        Statement insert(raw->db, sql.constData());
        raw->exec("BEGIN");
        for (size_t r = 0; r < rows.size(); ++r) {
            sqlite3_bind_int(insert.stmt, 1, rows[r].serial);
            for (int c = 0; c < 9; ++c)
                sqlite3_bind_text(insert.stmt, c + 2, stored[r][size_t(c)].constData(),
                                  int(stored[r][size_t(c)].size()), SQLITE_STATIC);
            check(sqlite3_step(insert.stmt), raw->db);
            sqlite3_reset(insert.stmt);
        }
        raw->exec("COMMIT");
    }

    void restore() { raw->exec("DELETE FROM local; INSERT INTO local SELECT * FROM seed;"); }
    void empty() { raw->exec("DELETE FROM local"); }
};

Register& sharedRegister()
{
    static Register reg;
    return reg;
}

} // namespace

VELMORA_BENCH(open)
{
    Register& reg = sharedRegister();
    reg.restore();
    int seen = 0;
    const double ours = benchMs([&] {
        auto rs = reg.ours->OpenRecordset(QStringLiteral("Select * from local order by sl_no"),
                                          jet::RecordsetType::Dynaset);
        rs->MoveLast();
        rs->MoveFirst();
        for (int i = 0; i < rs->FieldCount(); ++i)
            seen += rs->Fields(i).Value().isValid() ? 1 : 0;
        seen += rs->RecordCount();
    });
    // What the record set reads: the keys in order, then the first row.
    const double raw = benchMs([&] {
        seen += readKeysetAndRows(reg.raw->db, "SELECT rowid FROM local ORDER BY sl_no, rowid",
                                  "local", {0});
    });
    if (seen != 2 * kRows + 10)
        throw std::runtime_error("open: wrong number of rows");
    return {ours, raw};
}

VELMORA_BENCH(renumber)
{
    Register& reg = sharedRegister();
    reg.restore();
    auto rs = reg.ours->OpenRecordset(QStringLiteral("Select * from local order by sl_no"),
                                      jet::RecordsetType::Dynaset);
    rs->MoveLast();
    rs->MoveFirst();
    const double ours = benchMs([&] {
        reg.ours->BeginTrans();
        rs->FindFirst(QStringLiteral("sl_no=1"));
        rs->Delete();
        rs->MoveFirst();
        for (int i = 1; i <= rs->RecordCount(); ++i) {
            rs->Edit();
            rs->Fields(0).setValue(i);
            rs->Update();
            if (!rs->Eof())
                rs->MoveNext();
        }
        reg.ours->CommitTrans();
    });
    rs.reset();
    reg.restore();
    const double raw = benchMs([&] {
        reg.raw->exec("BEGIN IMMEDIATE");
        reg.raw->exec("DELETE FROM local WHERE sl_no = 1");
        reg.raw->exec("UPDATE local SET sl_no = sl_no - 1");
        reg.raw->exec("COMMIT");
    });
    return {ours, raw};
}

VELMORA_BENCH(append)
{
    Register& reg = sharedRegister();
    reg.empty();
    const double ours = benchMs([&] {
        auto rs = reg.ours->OpenRecordset(QStringLiteral("Select * from local order by sl_no"),
                                          jet::RecordsetType::Dynaset);
        reg.ours->BeginTrans();
        for (const Row& row : reg.rows) {
            rs->AddNew();
            rs->Fields(0).setValue(row.serial);
            rs->Fields(1).setValue(row.date);
            rs->Fields(2).setValue(row.day);
            rs->Fields(3).setValue(row.time);
            for (int i = 0; i < 6; ++i)
                rs->Fields(4 + i).setValue(row.texts[i]);
            rs->Update();
        }
        reg.ours->CommitTrans();
    });
    reg.empty();
    const double raw = benchMs([&] { reg.insertRaw("local"); });
    return {ours, raw};
}
