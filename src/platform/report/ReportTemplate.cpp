#include "platform/files/FileChecks.h"
#include "platform/files/FileTexts.h"
#include "platform/report/ReportTemplate.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>

#include "platform/report/ReportError.h"

namespace report {

namespace {

constexpr double kPointsPerMm = 72.0 / 25.4;

// A fault in the template: the reader stops at the first one and says where it is.
[[noreturn]] void fault(const QString& name, const QString& detail)
{
    throw ReportError(QStringLiteral(u"ವರದಿಯ ನಮೂನೆ %1 ಸರಿಯಿಲ್ಲ: %2").arg(name, detail));
}

bool isIdentifier(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return re.match(text).hasMatch();
}

void refuseUnknownKeys(const QJsonObject& object, const QSet<QString>& known, const QString& where,
                       const QString& name)
{
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!known.contains(it.key()))
            fault(name, QStringLiteral("unknown key \"%1\" in %2").arg(it.key(), where));
    }
}

QString text(const QJsonObject& object, const QString& key, const QString& fallback,
             const QString& name)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined())
        return fallback;
    if (!value.isString())
        fault(name, QStringLiteral("\"%1\" must be a text").arg(key));
    return value.toString();
}

QSizeF paperSize(const QString& paper, const QString& name)
{
    struct Paper {
        const char* name;
        double widthMm, heightMm;
    };
    static const Paper papers[] = {{"A3", 297, 420},
                                   {"A4", 210, 297},
                                   {"A5", 148, 210},
                                   {"Letter", 215.9, 279.4},
                                   {"Legal", 215.9, 355.6}};
    for (const Paper& p : papers) {
        if (paper.compare(QLatin1String(p.name), Qt::CaseInsensitive) == 0)
            return QSizeF(p.widthMm * kPointsPerMm, p.heightMm * kPointsPerMm);
    }
    fault(name, QStringLiteral("unknown paper size \"%1\" (A3, A4, A5, Letter, Legal)").arg(paper));
}

void readPage(const QJsonObject& page, ReportTemplate& t, const QString& name)
{
    refuseUnknownKeys(
        page, {QStringLiteral("size"), QStringLiteral("orientation"), QStringLiteral("margin-mm")},
        QStringLiteral("\"page\""), name);
    QSizeF size = paperSize(text(page, QStringLiteral("size"), QStringLiteral("A4"), name), name);
    const QString orientation =
        text(page, QStringLiteral("orientation"), QStringLiteral("landscape"), name);
    if (orientation == QLatin1String("landscape"))
        size.transpose();
    else if (orientation != QLatin1String("portrait"))
        fault(name, QStringLiteral("\"orientation\" must be \"landscape\" or \"portrait\""));
    t.pageSize = size;
    const QJsonValue margin = page.value(QStringLiteral("margin-mm"));
    const double mm = margin.isUndefined() ? 12 : margin.toDouble(-1);
    if (mm < 0 || mm * kPointsPerMm * 4 > std::min(size.width(), size.height()))
        fault(name,
              QStringLiteral("\"margin-mm\" must be a number from 0 to a quarter of the page"));
    t.margin = mm * kPointsPerMm;
}

void readFonts(const QJsonObject& fonts, ReportTemplate& t, const QString& name)
{
    refuseUnknownKeys(fonts,
                      {QStringLiteral("title"), QStringLiteral("range"), QStringLiteral("heading"),
                       QStringLiteral("body"), QStringLiteral("footer")},
                      QStringLiteral("\"fonts\""), name);
    t.titleFont =
        text(fonts, QStringLiteral("title"), QStringLiteral("Noto Sans Kannada Bold 16"), name);
    t.rangeFont =
        text(fonts, QStringLiteral("range"), QStringLiteral("Noto Sans Kannada 11"), name);
    t.headingFont =
        text(fonts, QStringLiteral("heading"), QStringLiteral("Noto Sans Kannada Bold 9"), name);
    t.bodyFont = text(fonts, QStringLiteral("body"), QStringLiteral("Noto Sans Kannada 9"), name);
    t.footerFont =
        text(fonts, QStringLiteral("footer"), QStringLiteral("Noto Sans Kannada 8"), name);
}

ReportColumn readColumn(const QJsonValue& value, int index, const QString& name)
{
    const QString where = QStringLiteral("column %1").arg(index + 1);
    if (!value.isObject())
        fault(name, where + QStringLiteral(" must be an object"));
    const QJsonObject object = value.toObject();
    refuseUnknownKeys(object,
                      {QStringLiteral("heading"), QStringLiteral("fields"), QStringLiteral("width"),
                       QStringLiteral("align")},
                      where, name);
    ReportColumn column;
    column.heading = text(object, QStringLiteral("heading"), QString(), name);
    const QJsonArray fields = object.value(QStringLiteral("fields")).toArray();
    for (const QJsonValue& f : fields) {
        if (!isIdentifier(f.toString()))
            fault(name, where + QStringLiteral(": \"fields\" must list column names"));
        column.fields << f.toString();
    }
    if (column.fields.isEmpty())
        fault(name, where + QStringLiteral(" has no \"fields\""));
    const QJsonValue width = object.value(QStringLiteral("width"));
    column.width = width.isUndefined() ? 1 : width.toDouble(0);
    if (!(column.width > 0))
        fault(name, where + QStringLiteral(": \"width\" must be a number above 0"));
    const QString align = text(object, QStringLiteral("align"), QStringLiteral("left"), name);
    if (align == QLatin1String("left"))
        column.align = ReportColumn::Align::Left;
    else if (align == QLatin1String("centre") || align == QLatin1String("center"))
        column.align = ReportColumn::Align::Centre;
    else if (align == QLatin1String("right"))
        column.align = ReportColumn::Align::Right;
    else
        fault(name, where + QStringLiteral(": \"align\" must be left, centre or right"));
    return column;
}

} // namespace

QStringList ReportTemplate::fieldsUsed() const
{
    QStringList used;
    for (const ReportColumn& c : columns)
        used << c.fields;
    static const QRegularExpression placeholder(QStringLiteral("\\{([A-Za-z_][A-Za-z0-9_]*)\\}"));
    for (auto it = placeholder.globalMatch(title + range); it.hasNext();)
        used << it.next().captured(1);
    used.removeDuplicates();
    return used;
}

ReportTemplate parseReportTemplate(const QByteArray& json, const QString& name)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError) {
        const int line = json.left(error.offset).count('\n') + 1;
        fault(name, QStringLiteral("line %1: %2").arg(line).arg(error.errorString()));
    }
    if (!document.isObject())
        fault(name, QStringLiteral("the file must hold one JSON object"));
    const QJsonObject root = document.object();
    refuseUnknownKeys(root,
                      {QStringLiteral("velmora-report"), QStringLiteral("database"),
                       QStringLiteral("table"), QStringLiteral("page"), QStringLiteral("fonts"),
                       QStringLiteral("title"), QStringLiteral("range"), QStringLiteral("footer"),
                       QStringLiteral("date-format"), QStringLiteral("kannada-digits"),
                       QStringLiteral("columns")},
                      QStringLiteral("the template"), name);
    if (root.value(QStringLiteral("velmora-report")).toInt() != 1)
        fault(name, QStringLiteral("\"velmora-report\": 1 is missing (the format's version)"));

    ReportTemplate t;
    t.database = text(root, QStringLiteral("database"), QStringLiteral("tarnalist.mdb"), name);
    if (t.database.isEmpty())
        fault(name, QStringLiteral("\"database\" is empty"));
    t.table = text(root, QStringLiteral("table"), QString(), name);
    if (!isIdentifier(t.table))
        fault(name, QStringLiteral("\"table\" must name the staging table"));
    readPage(root.value(QStringLiteral("page")).toObject(), t, name);
    readFonts(root.value(QStringLiteral("fonts")).toObject(), t, name);
    t.title = text(root, QStringLiteral("title"), QString(), name);
    t.range = text(root, QStringLiteral("range"), QString(), name);
    t.footer = text(root, QStringLiteral("footer"), QString(), name);
    t.dateFormat = text(root, QStringLiteral("date-format"), QStringLiteral("dd/MM/yyyy"), name);
    const QJsonValue digits = root.value(QStringLiteral("kannada-digits"));
    if (!digits.isUndefined() && !digits.isBool())
        fault(name, QStringLiteral("\"kannada-digits\" must be true or false"));
    t.kannadaDigits = digits.toBool(true);

    const QJsonArray columns = root.value(QStringLiteral("columns")).toArray();
    for (int i = 0; i < columns.size(); ++i)
        t.columns << readColumn(columns[i], i, name);
    if (t.columns.isEmpty())
        fault(name, QStringLiteral("\"columns\" must list at least one column"));
    return t;
}

ReportTemplate readReportTemplate(const QString& path)
{
    QFile file(path);
    const QString name = QFileInfo(path).fileName();
    if (!file.exists())
        throw ReportError(QStringLiteral(u"ವರದಿಯ ನಮೂನೆ %1 ಸಿಗಲಿಲ್ಲ (%2).").arg(name, path));
    // A FIFO or a device would block the read.
    files::requireRegularFile(path, files::texts::reportTemplate);
    if (!file.open(QIODevice::ReadOnly))
        throw ReportError(
            QStringLiteral(u"ವರದಿಯ ನಮೂನೆ %1 ಓದಲಾಗಲಿಲ್ಲ: %2").arg(name, file.errorString()));
    return parseReportTemplate(file.readAll(), name);
}

} // namespace report
