// velmora-cli list and export over a full register of 32,767 programmes, as a script runs them
// (a process writing to a file), against the sqlite3 command-line shell writing the same select
// as CSV in the same run.
#include <memory>
#include <stdexcept>

#include <sqlite3.h>

#include <QByteArray>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "Bench.h"
#include "LocalRegister.h"
#include "RawSqlite.h"
#include "data/DiaryDatabase.h"

namespace {

constexpr int kRecords = 32767;

struct FullRegister {
    QTemporaryDir dir;
    QString path;

    FullRegister() : path(dir.path() + QStringLiteral("/Tarnalist.mdb"))
    {
        data::OpenDiaryDatabase(path);
        RawConnection raw(path);
        fillLocalRegister(raw, kRecords);
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
