// velmora-cli backup: a consistent copy of the diary, taken through the engine while windows may
// be writing to it.
#include <QCommandLineParser>

#include "CliCommand.h"
#include "backup/DiaryBackup.h"
#include "data/DiaryDatabase.h"
#include "platform/paths/NativePath.h"

namespace {

const QString kName = QStringLiteral("backup");

} // namespace

int cli::runBackup(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Backs up the diary through SQLite's online backup API, so programs using "
                       "it at the same time neither stop nor leave half a record in the copy. "
                       "Without --to the backup goes into backups/ beside the diary, named by "
                       "date and time, and only the newest 30 are kept. Prints the backup's "
                       "path. A backup that could not be made leaves nothing half-made."));
    parser.addOption({QStringLiteral("to"),
                      QStringLiteral("Write the backup to FILE instead (it must not exist)."),
                      QStringLiteral("FILE")});
    cli::addDiaryOption(parser);
    if (const auto done = cli::parse(parser, kName, arguments))
        return *done;
    return cli::runGuarded(kName, [&] {
        cli::refuseArguments(parser);
        // Only read: a diary that does not exist is not made.
        const QString diary = cli::existingDiaryPath(parser);
        QString written;
        if (parser.isSet(QStringLiteral("to"))) {
            written = files::absolutePath(parser.value(QStringLiteral("to")));
            cli::checkedTarget(written);
            backup::copyDiary(*data::OpenDiaryDatabase(diary), written);
        } else {
            written = backup::backupDiary(diary);
        }
        cli::printLine(written);
        return int(cli::kDone);
    });
}
