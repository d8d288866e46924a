// velmora-cli add: a new record, saved by the register windows' own editor.
#include "CliCommand.h"
#include "RecordWrite.h"

namespace {

const QString kName = QStringLiteral("add");

using registers::RecordEditor;

} // namespace

int cli::runAdd(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Adds a record to a register as its window does and prints its serial number (the one "
        "after the last stored when it is saved). Texts are Unicode Kannada; the day names come "
        "from the dates. A record that clashes with others is refused (exit 2, the clashing "
        "records named) unless --allow-clash. A diary file that does not exist yet is made.\n"
        "  add local|outstation --date D --time T --subject TEXT --venue TEXT [--address, "
        "--telephone, --contact, --others]\n"
        "  add tour --from-place TEXT --to-place TEXT --leave-date D --leave-time T "
        "--arrive-date D --arrive-time T [--mode, --others]"));
    parser.addPositionalArgument(QStringLiteral("register"),
                                 QStringLiteral("local, outstation or tour."));
    cli::addFieldOptions(parser);
    cli::addDiaryOption(parser);
    if (const auto done = cli::parse(parser, kName, arguments))
        return *done;

    return cli::runGuarded(kName, [&]() -> int {
        const QString name = cli::registerArgument(parser);
        const QMap<int, QVariant> given = cli::givenFields(parser, name, true);
        cli::CliRecordView view(cli::registerMapping(name), parser.isSet("allow-clash"));
        RecordEditor& editor = view.editor();
        // An empty register opens on its first record, as the window does.
        editor.OpenRegister(cli::diaryPath(parser));
        if (editor.state() == RecordEditor::State::Browsing)
            editor.ImageNew_Click();
        if (const auto refused = cli::refusedStep(kName, view))
            return *refused;
        cli::fillFields(view, given);
        editor.ImageSave_Click();
        if (const auto refused = cli::refusedStep(kName, view))
            return *refused;
        if (!view.saved())
            throw cli::BadInput{QStringLiteral(u"ದಾಖಲೆಯನ್ನು ಉಳಿಸಲಿಲ್ಲ.")};
        cli::printLine(view.serialText());
        return cli::kDone;
    });
}
