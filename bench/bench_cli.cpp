// velmora-cli list and export over a full register of 32,767 programmes, as a script runs them
// (a process writing to a file), against the sqlite3 command-line shell writing the same select
// as CSV in the same run.
#include <memory>
#include <stdexcept>

#include <sqlite3.h>

#include <QByteArray>
#include <QDate>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTime>

#include "Bench.h"
#include "RawSqlite.h"
#include "data/DayName.h"
#include "data/DiaryDatabase.h"
#include "platform/jet/StorageText.h"

namespace {

constexpr int kRecords = 32767;

struct FullRegister {
    QTemporaryDir dir;
    QString path;

    FullRegister() : path(dir.path() + QStringLiteral("/Tarnalist.mdb"))
    {
        data::OpenDiaryDatabase(path);
        RawConnection raw(path);
        Statement insert(raw.db,
                         "INSERT INTO local VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
        const QByteArray topic(
            "\xA5\xC0\xC4\xB8\xC0\xDB\x50\xC0 \xA9\x71\xC0\xC4\x55\xC0\x71\xC0\xC9 ");
        raw.exec("BEGIN");
        for (int serial = 1; serial <= kRecords; ++serial) {
            const QDate date = QDate(2024, 1, 1).addDays(serial % 700);
            const QByteArray columns[9] = {
                date.toString(Qt::ISODate).toLatin1(),
                jet::storageFromBytes(data::DayName(date)),
                QTime(serial % 24, serial % 60, serial % 59)
                    .toString(QStringLiteral("HH:mm:ss"))
                    .toLatin1(),
                jet::storageFromBytes(topic + QByteArray::number(serial)),
                jet::storageFromBytes(topic + QByteArray::number(serial * 3)),
                jet::storageFromBytes(topic + QByteArray::number(serial * 7)),
                QByteArray::number(8000000 + serial),
                jet::storageFromBytes(topic),
                QByteArray(),
            };
            sqlite3_bind_int(insert.stmt, 1, serial);
            for (int c = 0; c < 9; ++c)
                sqlite3_bind_text(insert.stmt, c + 2, columns[c].constData(),
                                  int(columns[c].size()), SQLITE_TRANSIENT);
            check(sqlite3_step(insert.stmt), raw.db);
            sqlite3_reset(insert.stmt);
        }
        raw.exec("COMMIT");
    }
};

FullRegister& fullRegister()
{
    static FullRegister full;
    return full;
}

// Runs `program` with its standard output into `output`; throws unless it exits 0.
void runToFile(const QString& program, const QStringList& arguments, const QString& output)
{
    QProcess process;
    process.setStandardOutputFile(output);
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        throw std::runtime_error(qPrintable(program + QStringLiteral(" failed")));
}

BenchResult compare(const QStringList& cliArguments, const char* rawSelect)
{
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (shell.isEmpty())
        throw BenchSkipped("the sqlite3 command-line shell is not installed");
    const QString cli = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath() +
                        QStringLiteral("/../tools/velmora-cli/velmora-cli");
    if (!QFileInfo(cli).isExecutable())
        throw BenchSkipped("velmora-cli is not built beside velmora-bench");
    FullRegister& full = fullRegister();
    const QString out = full.dir.filePath(QStringLiteral("out"));
    const double ours = benchMs([&] {
        runToFile(cli, cliArguments + QStringList{"--diary", full.path}, out);
    });
    const double raw = benchMs([&] {
        runToFile(shell, {QStringLiteral("-csv"), full.path, QString::fromLatin1(rawSelect)}, out);
    });
    return {ours, raw};
}

// Every programme as the list's CSV: Varnel decoded, dates and times written out.
BenchResult cliListFull()
{
    return compare({"list", "local"}, "SELECT * FROM local ORDER BY tarna_date, tarna_time");
}

// Every programme as an iCalendar event, against the same rows with their keys as CSV.
BenchResult cliExportIcsFull()
{
    return compare({"export", "local", "--format", "ics"},
                   "SELECT rowid, * FROM local ORDER BY tarna_date, tarna_time, sl_no");
}

const BenchRegistration cliListFullRegistration("cli-list-full", cliListFull);
const BenchRegistration cliExportIcsFullRegistration("cli-export-ics-full", cliExportIcsFull);

} // namespace
