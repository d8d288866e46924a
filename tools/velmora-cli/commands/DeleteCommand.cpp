// velmora-cli delete: one record deleted by the register windows' own editor, and kept.
#include "CliCommand.h"
#include "RecordWrite.h"

namespace {

const QString kName = QStringLiteral("delete");

} // namespace

int cli::runDelete(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Deletes record SL_NO of a register as its window does: the records after it move "
        "down by one, and the diary keeps the deletion (velmora-cli deleted list, restore). "
        "Prints the deleted record as `velmora-cli list` writes it: the header line, then the "
        "record with the number it had. Exit 2 when there is no such record; 3 when another "
        "program changed it meanwhile."));
    cli::addRecordArguments(parser);
    cli::addDiaryOption(parser);
    if (const auto done = cli::parse(parser, kName, arguments))
        return *done;

    return cli::runGuarded(kName, [&]() -> int {
        const auto [name, serial] =
            cli::recordArguments(parser, QStringLiteral("delete REGISTER SL_NO"));
        cli::CliRecordView view(cli::registerMapping(name), false);
        if (const auto refused = cli::showRecord(kName, parser, view, name, serial))
            return *refused;
        const QList<QVariant> record = view.record();
        view.editor().ImageDelete_Click();
        if (const auto refused = cli::refusedStep(kName, view))
            return *refused;
        if (!view.deleteAsked())
            throw cli::BadInput{QStringLiteral(u"ದಾಖಲೆಯನ್ನು ಅಳಿಸಲಿಲ್ಲ.")};
        cli::printRecord(name, record);
        return cli::kDone;
    });
}
