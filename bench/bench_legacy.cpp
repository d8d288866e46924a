// Bringing a Jet diary over: the fixture read through the reader, its registers repeated to
// about 30,000 rows, converted and written into a new diary; against raw sqlite3 inserts of
// the same stored rows into a new file in one transaction.
#include <sqlite3.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "Bench.h"
#include "RawSqlite.h"
#include "data/DiarySchema.h"
#include "legacy/DiaryWriter.h"
#include "legacy/JetReader.h"
#include "legacy/LegacyLayout.h"
#include "legacy/RegisterConversion.h"
#include "platform/jet/Database.h"

namespace {

constexpr int kRows = 30000;

QString fixturePath()
{
    return QFileInfo(QStringLiteral(__FILE__))
        .dir()
        .filePath(QStringLiteral("../tests/data/legacy/diary-jet3.mdb"));
}

// The raw registers repeated until they hold about kRows rows, numbered on.
QList<legacy::ConvertedRegister> readAndRepeat()
{
    const legacy::RawDiary raw = legacy::readJetDiary(fixturePath());
    qsizetype fixtureRows = 0;
    for (const auto& rows : raw.registers)
        fixtureRows += rows.size();
    const int times = int(kRows / fixtureRows) + 1;
    QList<legacy::ConvertedRegister> registers;
    for (int r = 0; r < legacy::legacyRegisters().size(); ++r) {
        const QList<legacy::RawRow>& rows = raw.registers[r];
        QList<legacy::RawRow> repeated;
        repeated.reserve(rows.size() * times);
        for (int t = 0; t < times; ++t) {
            for (const legacy::RawRow& row : rows) {
                legacy::RawRow copy = row;
                copy[0] = legacy::RawValue::of(copy[0].number + double(t * rows.size()));
                repeated.append(std::move(copy));
            }
        }
        registers.append(legacy::convertRegister(legacy::legacyRegisters()[r], repeated,
                                                 legacy::JetTextForm::Latin1, fixturePath()));
    }
    return registers;
}

void insertRaw(const QString& path, const QList<legacy::ConvertedRegister>& registers)
{
    sqlite3* db = nullptr;
    check(sqlite3_open_v2(path.toUtf8().constData(), &db,
                          SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
          db);
    check(sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL;", nullptr, nullptr,
                       nullptr),
          db);
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    for (const QString& statement : data::diarySchemaStatements())
        check(sqlite3_exec(db, statement.toUtf8().constData(), nullptr, nullptr, nullptr), db);
    for (const legacy::ConvertedRegister& r : registers) {
        QByteArray sql = QByteArray("INSERT INTO ") + r.layout->table + " VALUES (?";
        for (qsizetype c = 1; c < r.layout->columns.size(); ++c)
            sql += ",?";
        sql += ')';
        Statement insert(db, sql.constData());
        for (const legacy::DiaryRow& row : r.rows) {
            sqlite3_bind_int(insert.stmt, 1, row.serial);
            for (qsizetype c = 0; c < row.values.size(); ++c)
                sqlite3_bind_text(insert.stmt, int(c) + 2, row.values[c].constData(),
                                  int(row.values[c].size()), SQLITE_STATIC);
            check(sqlite3_step(insert.stmt), db);
            sqlite3_reset(insert.stmt);
        }
    }
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close_v2(db);
}

BenchResult importLegacy()
{
    QTemporaryDir dir;
    const QList<legacy::ConvertedRegister> stored = readAndRepeat();
    const double ours = benchMs([&] {
        const QList<legacy::ConvertedRegister> registers = readAndRepeat();
        auto database = jet::Database::CreateDatabase(dir.filePath(QStringLiteral("ours.mdb")));
        data::createDiarySchema(*database);
        legacy::writeRegisters(*database, registers);
    });
    const double raw = benchMs([&] { insertRaw(dir.filePath(QStringLiteral("raw.mdb")), stored); });
    return {ours, raw};
}

const BenchRegistration registration("import-legacy", importLegacy);

} // namespace
