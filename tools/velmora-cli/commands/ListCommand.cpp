// velmora-cli list: a register as CSV on standard output, narrowed by the same bounds and
// through the same statements as the search windows.
#include <cstdio>

#include <QCommandLineParser>
#include <QDate>
#include <QTime>

#include "CliCommand.h"
#include "data/DiaryDatabase.h"
#include "platform/varnel/VarnelCodec.h"
#include "search/SearchCsv.h"
#include "search/SearchQueries.h"

namespace {

const QString kName = QStringLiteral("list");

using cli::BadInput;

QTime timeOption(const QCommandLineParser& parser, const QString& name)
{
    const QString text = parser.value(name);
    const QTime time = QTime::fromString(text, QStringLiteral("HH:mm:ss"));
    if (!time.isValid())
        throw BadInput{QStringLiteral(u"--%1 '%2': HH:MM:SS ರೂಪದ ಸಮಯವಲ್ಲ.").arg(name, text)};
    return time;
}

// A place typed in Unicode Kannada, as the Varnel bytes the register holds.
QByteArray placeOption(const QCommandLineParser& parser, const QString& name)
{
    const varnel::Encoded encoded = varnel::encode(parser.value(name));
    if (!encoded.ok()) {
        const varnel::Refusal first = encoded.refusals.first();
        throw BadInput{QStringLiteral(u"--%1 '%4': U+%2 ಅಕ್ಷರಕ್ಕೆ (ಸ್ಥಾನ %3) Varnel ರೂಪವಿಲ್ಲ.")
                           .arg(name)
                           .arg(quint32(first.character), 4, 16, QLatin1Char('0'))
                           .arg(first.position + 1)
                           .arg(parser.value(name))};
    }
    return encoded.bytes;
}

QString statementFor(data::Register which, const QCommandLineParser& parser)
{
    const auto given = [&](const char* name) { return parser.isSet(QString::fromLatin1(name)); };
    if (which == data::Register::Tour) {
        if (given("after") || given("before"))
            throw BadInput{QStringLiteral(u"--after ಮತ್ತು --before ಕಾರ್ಯಕ್ರಮಗಳಿಗೆ ಮಾತ್ರ, ಪ್ರವಾಸಗಳಿಗಲ್ಲ.")};
        search::TourCriteria criteria;
        if (given("from-place"))
            criteria.from = placeOption(parser, QStringLiteral("from-place"));
        if (given("to-place"))
            criteria.to = placeOption(parser, QStringLiteral("to-place"));
        const cli::DateRange range = cli::dateRange(parser);
        criteria.dateFrom = range.from;
        criteria.dateTo = range.to;
        return search::tourQuery(criteria);
    }
    if (given("from-place") || given("to-place"))
        throw BadInput{
            QStringLiteral(u"--from-place ಮತ್ತು --to-place ಪ್ರವಾಸಗಳಿಗೆ ಮಾತ್ರ, ಕಾರ್ಯಕ್ರಮಗಳಿಗಲ್ಲ.")};
    search::ProgrammeBounds bounds;
    const cli::DateRange range = cli::dateRange(parser);
    bounds.dateFrom = range.from;
    bounds.dateTo = range.to;
    if (given("after"))
        bounds.timeFrom = timeOption(parser, QStringLiteral("after"));
    if (given("before"))
        bounds.timeTo = timeOption(parser, QStringLiteral("before"));
    return search::programmeQuery(data::tableName(which), bounds);
}

} // namespace

int cli::runList(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes the records of a register as CSV (UTF-8) to standard output: the "
                       "list's Kannada headers, then each record with its sl_no first, ISO dates, "
                       "HH:MM times and Unicode texts, in the search windows' order. Each option "
                       "given is one bound in force. When none match, the header alone is "
                       "written and the exit status is 1."));
    parser.addPositionalArgument(QStringLiteral("register"),
                                 QStringLiteral("local, outstation or tour."));
    cli::addDateRangeOptions(parser);
    parser.addOption({QStringLiteral("after"),
                      QStringLiteral("Programmes at or after this time of day (HH:MM:SS)."),
                      QStringLiteral("HH:MM:SS")});
    parser.addOption({QStringLiteral("before"),
                      QStringLiteral("Programmes at or before this time of day (HH:MM:SS)."),
                      QStringLiteral("HH:MM:SS")});
    parser.addOption({QStringLiteral("from-place"),
                      QStringLiteral("Tours whose place of departure begins with TEXT (Kannada)."),
                      QStringLiteral("TEXT")});
    parser.addOption({QStringLiteral("to-place"),
                      QStringLiteral("Tours whose destination begins with TEXT (Kannada)."),
                      QStringLiteral("TEXT")});
    cli::addDiaryOption(parser);
    if (const auto done = cli::parse(parser, kName, arguments))
        return *done;

    return cli::runGuarded(kName, [&] {
        const QString name = cli::registerArgument(parser);
        const data::Register which = name == QLatin1String("local") ? data::Register::Local
                                     : name == QLatin1String("outstation")
                                         ? data::Register::Outstation
                                         : data::Register::Tour;
        const QString statement = statementFor(which, parser);

        // The command only reads: a diary that does not exist is not made.
        const auto database = data::OpenDiaryForReading(cli::existingDiaryPath(parser));
        // Written as the rows are read, in one statement: memory stays flat in the size of
        // the register, and the rows are the diary of one moment.
        cli::PieceBuffer out([](const QByteArray& bytes) { cli::writeOut(bytes); });
        const int records = search::streamSearchCsv(which, *database, statement, std::ref(out));
        out.flush();
        return records == 0 ? cli::kNothingToDo : cli::kDone;
    });
}
