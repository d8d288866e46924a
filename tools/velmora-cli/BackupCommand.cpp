// velmora-cli backup: a consistent copy of the diary, taken through the engine while windows may
// be writing to it.
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include "CliCommand.h"
#include "backup/DiaryBackup.h"
#include "data/DiaryDatabase.h"

namespace {

const QString kName = QStringLiteral("backup");

int runBackup(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Backs up the diary through SQLite's online backup API, so programs using "
                       "it at the same time neither stop nor leave half a record in the copy. "
                       "Without --to the backup goes into backups/ beside the diary, named by "
                       "date and time, and only the newest 30 are kept. Prints the backup's "
                       "path. Exit 0 when the backup was made, 2 when it could not be (no diary, "
                       "a file in the way, a full disk, a folder that cannot be written); "
                       "nothing half-made is left then."));
    parser.addOption({QStringLiteral("to"),
                      QStringLiteral("Write the backup to FILE instead (it must not exist)."),
                      QStringLiteral("FILE")});
    cli::addDiaryOption(parser);
    if (const auto done = cli::parse(parser, kName, arguments))
        return *done;
    if (!parser.positionalArguments().isEmpty()) {
        cli::fail(
            kName,
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));
        return cli::kBadInput;
    }
    try {
        const QString diary = cli::diaryPath(parser);
        QString written;
        if (parser.isSet(QStringLiteral("to"))) {
            // Only read: a diary that does not exist is not made.
            if (data::findDiaryFile(diary).isEmpty()) {
                cli::fail(kName, QStringLiteral("no diary at %1").arg(diary));
                return cli::kBadInput;
            }
            written = QFileInfo(parser.value(QStringLiteral("to"))).absoluteFilePath();
            backup::copyDiary(*data::OpenDiaryDatabase(diary), written);
        } else {
            written = backup::backupDiary(diary);
        }
        cli::out() << QDir::toNativeSeparators(written) << Qt::endl;
        return cli::kDone;
    } catch (const std::exception& error) {
        cli::fail(kName, QString::fromUtf8(error.what()));
    }
    return cli::kBadInput;
}

} // namespace

VELMORA_CLI_COMMAND(backup, "Back up the diary into backups/ beside it, or into a file", runBackup)
