// velmora-cli import: brings the records of a Jet (.mdb) diary into a diary of this program,
// for administrators moving many files. The work is the start-up import's (src/legacy).
#include <QCommandLineParser>

#include "CliCommand.h"
#include "legacy/LegacyImport.h"
#include "platform/files/NativeFiles.h"

namespace {

const QString kName = QStringLiteral("import");

} // namespace

int cli::runImport(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Brings every record of the Jet 3 or Jet 4 diary LEGACY.mdb into the "
                       "diary, exactly.\nA missing diary is created; an existing one must hold "
                       "no record. When the diary is\nthe Jet file itself, the Jet file is kept "
                       "unchanged beside it as Tarnalist-jet.mdb.\nOn any failure nothing is "
                       "changed."));
    parser.addPositionalArgument(QStringLiteral("LEGACY.mdb"),
                                 QStringLiteral("The Jet diary to bring over."));
    cli::addDiaryOption(parser);
    if (const auto done = cli::parse(parser, kName, arguments))
        return *done;
    return cli::runGuarded(kName, [&] {
        const QStringList positional = parser.positionalArguments();
        if (positional.size() != 1)
            throw cli::BadInput{QStringLiteral(u"ಒಂದು Jet ಕಡತವನ್ನು ಕೊಡಿ.")};
        const QString diary = cli::diaryPath(parser);
        // A new diary is an output: its place is checked as every output's is.
        if (!files::exists(diary))
            cli::checkedTarget(diary);
        const legacy::ImportSummary summary = legacy::importIntoDiary(positional.first(), diary);
        cli::out() << legacy::summaryText(summary) << Qt::endl;
        return int(cli::kDone);
    });
}
