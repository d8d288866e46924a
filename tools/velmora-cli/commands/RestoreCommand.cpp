// velmora-cli restore: puts a backup's records back into the diary, after backing up the diary
// as it is.
#include <QCommandLineParser>
#include <QDir>

#include "CliCommand.h"
#include "backup/BackupCatalog.h"
#include "backup/DiaryBackup.h"

namespace {

const QString kName = QStringLiteral("restore");

QString counts(const backup::BackupEntry& entry)
{
    if (!entry.readable())
        return QStringLiteral("unreadable: %1").arg(entry.problem);
    return QStringLiteral("local %1, outstation %2, tour %3")
        .arg(entry.local)
        .arg(entry.outstation)
        .arg(entry.tour);
}

int listBackups(const QString& diary)
{
    const QList<backup::BackupEntry> entries = backup::listBackups(diary);
    for (const backup::BackupEntry& entry : entries)
        cli::printLine(entry.taken.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
                       QStringLiteral("  ") + counts(entry) + QStringLiteral("  ") + entry.path);
    return entries.isEmpty() ? cli::kNothingToDo : cli::kDone;
}

} // namespace

int cli::runRestore(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Restores the diary from BACKUP. The diary as it is now is backed up "
                       "first (into backups/ beside it; its path is printed), then the backup's "
                       "records are written into the diary through the engine, so programs "
                       "holding the diary open see them at their next read. A damaged file or "
                       "one that is not a diary's backup is refused before anything is written. "
                       "With --list, lists the backups instead (date, time, records per "
                       "register; exit 1 when there is none). A restore that fails leaves the "
                       "diary as it was."));
    parser.addPositionalArgument(QStringLiteral("BACKUP"), QStringLiteral("The backup file."));
    parser.addOption({QStringLiteral("list"), QStringLiteral("List the diary's backups.")});
    cli::addDiaryOption(parser);
    if (const auto done = cli::parse(parser, kName, arguments))
        return *done;
    return cli::runGuarded(kName, [&] {
        const QStringList positional = parser.positionalArguments();
        const bool listing = parser.isSet(QStringLiteral("list"));
        if (positional.size() != (listing ? 0 : 1))
            throw cli::BadInput{listing ? QStringLiteral(u"--list ಜೊತೆ ಪ್ರತಿಯನ್ನು ಕೊಡಬೇಡಿ.")
                                        : QStringLiteral(u"ಒಂದು ಪ್ರತಿಯ ಕಡತವನ್ನು ಕೊಡಿ.")};
        if (listing)
            return listBackups(cli::diaryPath(parser));
        // A restore goes into a diary that is there: a missing one is not made.
        const QString diary = cli::existingDiaryPath(parser);
        const QString previous = backup::restoreBackup(positional.first(), diary);
        cli::printLine(QStringLiteral("restored; the diary as it was is in %1").arg(previous));
        return int(cli::kDone);
    });
}
