#include "RecordWrite.h"

#include <QRegularExpression>
#include <QTime>

#include "search/SearchCsv.h"

namespace cli {

namespace {

using registers::FieldKind;
using registers::RegisterMapping;

// One field of the registers as an option: its column in a programme register and in the
// tour register (-1 where it has none).
struct FieldOption {
    const char* name;
    int programme;
    int tour;
    const char* value;
    const char* help;
};

constexpr FieldOption kFieldOptions[] = {
    {"date", 1, -1, "YYYY-MM-DD", "Programme: its date."},
    {"time", 3, -1, "HH:MM", "Programme: its time of day."},
    {"subject", 4, -1, "TEXT", "Programme: its subject (Kannada)."},
    {"venue", 5, -1, "TEXT", "Programme: where it is held (Kannada)."},
    {"address", 6, -1, "TEXT", "Programme: the address."},
    {"telephone", 7, -1, "TEXT", "Programme: the telephone number."},
    {"contact", 8, -1, "TEXT", "Programme: the person to contact."},
    {"from-place", -1, 1, "TEXT", "Tour: where it leaves from (Kannada)."},
    {"to-place", -1, 2, "TEXT", "Tour: where it goes to (Kannada)."},
    {"leave-date", -1, 3, "YYYY-MM-DD", "Tour: the day of departure."},
    {"leave-time", -1, 5, "HH:MM", "Tour: the time of departure."},
    {"arrive-date", -1, 6, "YYYY-MM-DD", "Tour: the day of arrival."},
    {"arrive-time", -1, 8, "HH:MM", "Tour: the time of arrival."},
    {"mode", -1, 9, "TEXT", "Tour: the mode of travel."},
    {"others", 9, 10, "TEXT", "Other details."},
};

QTime timeValue(const QString& option, const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^\\d\\d:\\d\\d$"));
    const QTime time = QTime::fromString(text, QStringLiteral("HH:mm"));
    if (!form.match(text).hasMatch() || !time.isValid())
        throw BadInput{QStringLiteral(u"--%1 '%2': HH:MM ರೂಪದ ಸಮಯವಲ್ಲ.").arg(option, text)};
    return time;
}

QByteArray textValue(const QString& option, const QString& text)
{
    const varnel::Encoded encoded = varnel::encode(text);
    if (!encoded.ok())
        throw BadInput{QStringLiteral("--%1: ").arg(option) +
                       varnel::refusalMessage(encoded.refusals)};
    return encoded.bytes;
}

BadInput missing(const QString& option)
{
    // "--%1 must be given; nothing was saved."
    return {QStringLiteral(u"--%1 ಕೊಡಬೇಕು; ಏನನ್ನೂ ಉಳಿಸಲಿಲ್ಲ.").arg(option)};
}

} // namespace

const RegisterMapping& registerMapping(const QString& name)
{
    if (name == QLatin1String("local"))
        return RegisterMapping::local();
    if (name == QLatin1String("outstation"))
        return RegisterMapping::outstation();
    if (name == QLatin1String("tour"))
        return RegisterMapping::tour();
    throw BadInput{QStringLiteral(u"'%1' ಎಂಬ ರಿಜಿಸ್ಟರ್ ಇಲ್ಲ: local, outstation ಅಥವಾ tour.").arg(name)};
}

void addFieldOptions(QCommandLineParser& parser)
{
    for (const FieldOption& o : kFieldOptions)
        parser.addOption({QString::fromLatin1(o.name), QString::fromLatin1(o.help),
                          QString::fromLatin1(o.value)});
    parser.addOption({QStringLiteral("allow-clash"),
                      QStringLiteral("Save even when the record clashes with others.")});
}

QMap<int, QVariant> givenFields(const QCommandLineParser& parser, const QString& registerName,
                                bool adding)
{
    const RegisterMapping& mapping = registerMapping(registerName);
    const bool tour = mapping.keepsDatesInOrder();
    QMap<int, QVariant> given;
    for (const FieldOption& o : kFieldOptions) {
        const QString name = QString::fromLatin1(o.name);
        const int ordinal = tour ? o.tour : o.programme;
        const bool set = parser.isSet(name);
        if (ordinal < 0 && set)
            throw BadInput{
                QStringLiteral(u"--%1 %2 ರಿಜಿಸ್ಟರ್‌ಗೆ ಸಲ್ಲದು.")
                    .arg(name, registerName)};
        if (ordinal < 0)
            continue;
        const FieldKind kind = mapping.field(ordinal).kind;
        const bool needed = kind != FieldKind::Text || mapping.requiredTexts.contains(ordinal);
        if (!set && adding && needed)
            throw missing(name);
        if (!set)
            continue;
        switch (kind) {
        case FieldKind::Date: given[ordinal] = *dateOption(parser, name); break;
        case FieldKind::Time: given[ordinal] = timeValue(name, parser.value(name)); break;
        default:
            given[ordinal] = textValue(name, parser.value(name));
            if (needed && given[ordinal].toByteArray().isEmpty())
                throw missing(name);
        }
    }
    return given;
}

void addRecordArguments(QCommandLineParser& parser)
{
    parser.addPositionalArgument(QStringLiteral("register"),
                                 QStringLiteral("local, outstation or tour."));
    parser.addPositionalArgument(QStringLiteral("SL_NO"), QStringLiteral("The record's number."));
}

std::pair<QString, QString> recordArguments(const QCommandLineParser& parser, const QString& usage)
{
    const QStringList words = parser.positionalArguments();
    if (words.size() != 2)
        throw BadInput{QStringLiteral(u"ಬಳಕೆ: %1.").arg(usage)};
    registerMapping(words[0]);
    return {words[0], words[1]};
}

std::optional<int> showRecord(const QString& command, const QCommandLineParser& parser,
                              CliRecordView& view, const QString& registerName,
                              const QString& serial)
{
    bool number = false;
    const int wanted = serial.toInt(&number);
    if (!number || QString::number(wanted) != serial)
        throw BadInput{QStringLiteral(u"'%1' ಕ್ರಮ ಸಂಖ್ಯೆಯಲ್ಲ.").arg(serial)};
    // A diary that is not there has no record: none is made.
    view.editor().OpenRegister(existingDiaryPath(parser));
    if (const auto refused = refusedStep(command, view))
        return refused;
    if (view.editor().state() == registers::RecordEditor::State::Browsing)
        view.setNavigatorValue(wanted);
    if (view.editor().state() != registers::RecordEditor::State::Browsing ||
        view.serialText() != serial)
        throw BadInput{
            QStringLiteral(
                u"%1 ರಿಜಿಸ್ಟರ್‌ನಲ್ಲಿ ಕ್ರಮ ಸಂಖ್ಯೆ "
                u"%2ರ "
                u"ದಾಖಲೆ "
                u"ಇಲ್ಲ.")
                .arg(registerName, serial)};
    return std::nullopt;
}

void fillFields(CliRecordView& view, const QMap<int, QVariant>& given)
{
    const RegisterMapping& mapping = view.mapping();
    if (mapping.keepsDatesInOrder()) {
        // The editor would move the other date along; a command refuses instead.
        const int from = mapping.departureDate;
        const int to = mapping.arrivalDate;
        const QDate leave = given.value(from, view.date(from)).toDate();
        const QDate arrive = given.value(to, view.date(to)).toDate();
        if (leave > arrive)
            throw BadInput{QStringLiteral(u"ನಿರ್ಗಮನ (--leave-date) %1 ಆಗಮನ (--arrive-date) %2 "
                                          u"ರ ನಂತರ ಬರುತ್ತದೆ.")
                               .arg(leave.toString(Qt::ISODate), arrive.toString(Qt::ISODate))};
    }
    for (auto it = given.begin(); it != given.end(); ++it) {
        switch (mapping.field(it.key()).kind) {
        case FieldKind::Date:
            view.setDate(it.key(), it->toDate());
            view.editor().DatePicker_Change(it.key());
            break;
        case FieldKind::Time: view.setTime(it.key(), it->toTime()); break;
        default: view.setText(it.key(), it->toByteArray());
        }
    }
}

std::optional<int> refusedStep(const QString& command, const CliRecordView& view)
{
    if (!view.clash().isEmpty()) {
        // The question without its last line, which asks whether to save all the same.
        QStringList lines = view.clash().split(QLatin1Char('\n'));
        if (lines.size() > 1)
            lines.removeLast();
        const QString first = lines.takeFirst();
        fail(command, first + QLatin1Char(' ') + lines.join(QStringLiteral("; ")) +
                          QStringLiteral(u"; ಏನನ್ನೂ ಉಳಿಸಲಿಲ್ಲ (--allow-clash ಆದರೂ ಉಳಿಸುತ್ತದೆ)."));
        return kBadInput;
    }
    if (!view.refusal())
        return std::nullopt;
    fail(command, view.refusal()->text);
    return view.refusal()->code;
}

void printRecord(const QString& registerName, const QList<QVariant>& record)
{
    const data::Register which = registerName == QLatin1String("local") ? data::Register::Local
                                 : registerName == QLatin1String("outstation")
                                     ? data::Register::Outstation
                                     : data::Register::Tour;
    writeOut(search::searchCsv(which, {record}));
}

} // namespace cli
