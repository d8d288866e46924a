// velmora-cli deleted: the deletions a register keeps, as CSV, and one of them brought back.
#include <QCommandLineParser>

#include "CliCommand.h"
#include "data/CsvText.h"
#include "data/DiaryDatabase.h"
#include "platform/jet/Database.h"
#include "registers/KeptDeletions.h"
#include "search/SearchCsv.h"

namespace {

const QString kName = QStringLiteral("deleted");

data::Register searchRegister(const QString& table)
{
    return table == QLatin1String("local")        ? data::Register::Local
           : table == QLatin1String("outstation") ? data::Register::Outstation
                                                  : data::Register::Tour;
}

QString registerName(const QString& name)
{
    if (name != QLatin1String("local") && name != QLatin1String("outstation") &&
        name != QLatin1String("tour"))
        throw cli::BadInput{
            QStringLiteral(u"'%1' ಎಂಬ ರಿಜಿಸ್ಟರ್ ಇಲ್ಲ: local, outstation ಅಥವಾ tour.").arg(name)};
    return name;
}

int listDeleted(jet::Database& diary, const QString& table)
{
    const data::Register which = searchRegister(table);
    // "deletion", "deleted at", then the list's own columns.
    QString csv =
        data::csvLine(QStringList{QStringLiteral(u"ಅಳಿಸುವಿಕೆ"), QStringLiteral(u"ಅಳಿಸಿದ ಸಮಯ")} +
                      search::csvHeader(which));
    const QList<registers::KeptDeletion> kept = registers::KeptDeletions(diary, table).list();
    for (const registers::KeptDeletion& deletion : kept)
        csv += data::csvLine(QStringList{QString::number(deletion.id), deletion.deletedAt} +
                             search::csvFields(which, deletion.record.values));
    // Written only once every row is read, so a failure leaves standard output empty.
    cli::writeOut(csv.toUtf8());
    return kept.isEmpty() ? cli::kNothingToDo : cli::kDone;
}

// "the register %1 keeps no deletion numbered %2"
QString notKeptText(const QString& table, qint64 id)
{
    return QStringLiteral(
               u"%1 ರಿಜಿಸ್ಟರ್‌ನಲ್ಲಿ %2 ಸಂಖ್ಯೆಯ "
               u"ಅಳಿಸುವಿಕೆ ಇಲ್ಲ.")
        .arg(table)
        .arg(id);
}

// "the register %1 already holds 32767 records; nothing was changed"
QString fullText(const QString& table)
{
    return QStringLiteral(
               u"%1 ರಿಜಿಸ್ಟರ್‌ನಲ್ಲಿ ಈಗಾಗಲೇ 32767 "
               u"ದಾಖಲೆಗಳಿವೆ; ಏನನ್ನೂ ಬದಲಾಯಿಸಲಿಲ್ಲ.")
        .arg(table);
}

int restoreDeleted(jet::Database& diary, const QString& table, const QString& idText)
{
    bool isNumber = false;
    const qint64 id = idText.toLongLong(&isNumber);
    if (!isNumber)
        throw cli::BadInput{QStringLiteral(u"'%1' ಅಳಿಸುವಿಕೆಯ ಸಂಖ್ಯೆಯಲ್ಲ.").arg(idText)};
    const registers::KeptDeletions::Restored restored =
        registers::KeptDeletions(diary, table).restore(id);
    switch (restored.outcome) {
    case registers::KeptDeletions::Outcome::Restored:
        cli::out() << QStringLiteral(u"ಕ್ರಮ ಸಂಖ್ಯೆ %1 ಆಗಿ ಮರಳಿ ತರಲಾಗಿದೆ.").arg(restored.serial)
                   << Qt::endl;
        return cli::kDone;
    case registers::KeptDeletions::Outcome::NotKept: throw cli::BadInput{notKeptText(table, id)};
    case registers::KeptDeletions::Outcome::RegisterFull:
        cli::fail(kName, fullText(table));
        return cli::kEnvironment;
    case registers::KeptDeletions::Outcome::Clashes: break; // not checked here
    }
    return cli::kBadInput;
}

} // namespace

int cli::runDeleted(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("The records deleted from a register, which the diary keeps (the newest "
                       "1,000 of each register).\n"
                       "  deleted list REGISTER        CSV (UTF-8) on standard output, newest "
                       "first: the deletion's id, when it was deleted, then the record as "
                       "`velmora-cli list` writes it (its sl_no is the number it had). Exit 0 "
                       "with deletions, 1 with none.\n"
                       "  deleted restore REGISTER ID  brings deletion ID back at the number it "
                       "had, the records from there on moving up by one. Exit 0 restored, 2 no "
                       "such deletion, 3 the register is full (32,767 records) or the diary is "
                       "busy."));
    parser.addPositionalArgument(QStringLiteral("list|restore"), QStringLiteral("What to do."));
    parser.addPositionalArgument(QStringLiteral("REGISTER"),
                                 QStringLiteral("local, outstation or tour."));
    parser.addPositionalArgument(QStringLiteral("ID"),
                                 QStringLiteral("restore: the deletion's id, as listed."));
    cli::addDiaryOption(parser);
    if (const auto done = cli::parse(parser, kName, arguments))
        return *done;

    return cli::runGuarded(kName, [&] {
        const QStringList words = parser.positionalArguments();
        const QString action = words.value(0);
        const bool listing = action == QLatin1String("list");
        if ((!listing && action != QLatin1String("restore")) || words.size() != (listing ? 2 : 3))
            throw cli::BadInput{QStringLiteral(u"ಬಳಕೆ: deleted list REGISTER ಅಥವಾ deleted "
                                               u"restore REGISTER ID.")};
        const QString table = registerName(words.value(1));
        // A diary busy past the engine's wait is the failure layer's: exit 3.
        const QString path = cli::existingDiaryPath(parser);
        const auto diary =
            listing ? data::OpenDiaryForReading(path) : data::OpenDiaryDatabase(path);
        return listing ? listDeleted(*diary, table) : restoreDeleted(*diary, table, words[2]);
    });
}
