// velmora-cli find: every record holding a text in any of its text fields, as CSV on standard
// output, through the same matcher as the find window.
#include <cstdio>

#include <QCommandLineParser>

#include "CliCommand.h"
#include "data/CsvText.h"
#include "data/DiaryDatabase.h"
#include "find/DiaryFind.h"
#include "search/SearchCsv.h"

namespace {

const QString kName = QStringLiteral("find");

using cli::BadInput;

data::Registers registersOption(const QCommandLineParser& parser)
{
    if (!parser.isSet(QStringLiteral("register")))
        return data::everyRegister();
    const QString name = parser.value(QStringLiteral("register"));
    for (const data::Register which :
         {data::Register::Local, data::Register::Outstation, data::Register::Tour}) {
        if (name == data::tableName(which))
            return which;
    }
    throw BadInput{QStringLiteral(u"'%1' ಎಂಬ ರಿಜಿಸ್ಟರ್ ಇಲ್ಲ: local, outstation ಅಥವಾ tour.").arg(name)};
}

data::Register listRegister(data::Register which)
{
    switch (which) {
    case data::Register::Outstation: return data::Register::Outstation;
    case data::Register::Tour: return data::Register::Tour;
    case data::Register::Local: break;
    }
    return data::Register::Local;
}

QByteArray findCsv(const std::vector<find::FindHit>& hits)
{
    QString text =
        data::csvLine({QStringLiteral("register"), QStringLiteral("sl_no"), QStringLiteral("date"),
                       QStringLiteral("time"), QStringLiteral("field")});
    for (const find::FindHit& hit : hits) {
        QStringList fields{data::tableName(hit.record.which), QString::number(hit.record.serial()),
                           hit.date.toString(Qt::ISODate),
                           hit.time.toString(QStringLiteral("HH:mm")), hit.field};
        fields += search::csvFields(listRegister(hit.record.which), hit.record.values);
        text += data::csvLine(fields);
    }
    return text.toUtf8();
}

} // namespace

int cli::runFind(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Writes every record whose text fields hold TEXT as CSV (UTF-8) to standard output: a "
        "header line, then per record its register, sl_no, date (ISO), time (HH:MM), the field "
        "that holds the text, and the record's fields as `velmora-cli list` writes them. TEXT is "
        "matched on the Kannada as it reads (NFC, Latin letters in any case, ASCII and Kannada "
        "digits alike); Latin letters that could spell Kannada are also read as ITRANS and "
        "loosely, as place names are spelled. The records holding TEXT as typed (or as ITRANS) "
        "come first, then those holding it only loosely, each newest first. The diary is only "
        "read; the find index is kept in the user's cache folder. When none match, the header "
        "alone is written and the exit status is 1."));
    parser.addPositionalArgument(QStringLiteral("text"), QStringLiteral("The text to find."));
    parser.addOption({QStringLiteral("register"),
                      QStringLiteral("Only this register: local, outstation or tour."),
                      QStringLiteral("R")});
    cli::addDiaryOption(parser);
    if (const auto done = cli::parse(parser, kName, arguments))
        return *done;

    return cli::runGuarded(kName, [&] {
        const QStringList positional = parser.positionalArguments();
        if (positional.size() != 1 || positional.first().trimmed().isEmpty())
            throw BadInput{QStringLiteral(u"ಹುಡುಕಲು ಒಂದು ಪಠ್ಯವನ್ನು ಕೊಡಿ.")};
        const data::Registers registers = registersOption(parser);
        // The command only reads: a diary that does not exist is not made, nor is one written.
        const auto database = data::OpenDiaryForReading(cli::existingDiaryPath(parser));
        const std::vector<find::FindHit> hits =
            find::search(*database, positional.first(), registers);

        // Written only once every row is read, so a failure leaves standard output empty.
        const QByteArray csv = findCsv(hits);
        cli::writeOut(csv);
        return hits.empty() ? cli::kNothingToDo : cli::kDone;
    });
}
