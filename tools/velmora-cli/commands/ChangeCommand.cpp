// velmora-cli change: fields of one record replaced, saved by the register windows' own editor.
#include "CliCommand.h"
#include "RecordWrite.h"

namespace {

const QString kName = QStringLiteral("change");

} // namespace

int cli::runChange(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Changes record SL_NO of a register as its window does: each field option given (see "
        "velmora-cli add --help) replaces that field, the rest stay as stored. Prints the "
        "record as saved, as `velmora-cli list` writes it: the header line, then the record. "
        "Exit 2 when there is no such record, a field is bad or a new date or time clashes "
        "(unless --allow-clash); 3 when another program changed the record meanwhile."));
    cli::addRecordArguments(parser);
    cli::addFieldOptions(parser);
    cli::addDiaryOption(parser);
    if (const auto done = cli::parse(parser, kName, arguments))
        return *done;

    return cli::runGuarded(kName, [&]() -> int {
        const auto [name, serial] =
            cli::recordArguments(parser, QStringLiteral("change REGISTER SL_NO --FIELD VALUE..."));
        const QMap<int, QVariant> given = cli::givenFields(parser, name, false);
        if (given.isEmpty())
            throw cli::BadInput{
                QStringLiteral(u"ಬದಲಾಯಿಸಲು ಕನಿಷ್ಠ ಒಂದು ಕ್ಷೇತ್ರ ಕೊಡಿ (velmora-cli change --help ನೋಡಿ).")};
        cli::CliRecordView view(cli::registerMapping(name), parser.isSet("allow-clash"));
        if (const auto refused = cli::showRecord(kName, parser, view, name, serial))
            return *refused;
        cli::fillFields(view, given);
        view.editor().ImageSave_Click();
        if (const auto refused = cli::refusedStep(kName, view))
            return *refused;
        if (!view.saved())
            throw cli::BadInput{QStringLiteral(u"ದಾಖಲೆಯನ್ನು ಉಳಿಸಲಿಲ್ಲ.")};
        cli::printRecord(name, view.record());
        return cli::kDone;
    });
}
