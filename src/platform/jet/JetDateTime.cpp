#include "platform/jet/JetDateTime.h"

#include <array>

#include <QRegularExpression>
#include <QStringList>

namespace jet {

namespace {

// Two-digit years fall in 1930..2029, the window that desktop regional settings use by default.
int expandYear(int year, qsizetype digits)
{
    if (digits > 2)
        return year;
    return year < 30 ? 2000 + year : 1900 + year;
}

// Positions (0, 1, 2) of day, month and year in the locale's short date form.
std::array<int, 3> localeFieldOrder(const QLocale& locale)
{
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    std::array<qsizetype, 3> at = {format.indexOf(QLatin1Char('d')),
                                   format.indexOf(QLatin1Char('M')),
                                   format.indexOf(QLatin1Char('y'))};
    if (at[0] < 0 || at[1] < 0 || at[2] < 0)
        return {0, 1, 2};
    std::array<int, 3> order{};
    for (int field = 0; field < 3; ++field) {
        int rank = 0;
        for (int other = 0; other < 3; ++other)
            rank += at[other] < at[field] ? 1 : 0;
        order[field] = rank;
    }
    return order;
}

struct DatePart {
    QDate date;
    QStringView rest;
};

// "5/3/2024", "05.03.24", "2024/03/05": three numbers with one separator, at the start.
std::optional<DatePart> numericDate(QStringView text, const QLocale& locale)
{
    static const QRegularExpression re(
        QStringLiteral("^(\\d{1,4})([./-])(\\d{1,4})\\2(\\d{1,4})(?=$|[\\sT])"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const std::array<QStringView, 3> groups = {m.capturedView(1), m.capturedView(3),
                                               m.capturedView(4)};
    std::array<int, 3> order = localeFieldOrder(locale);
    if (groups[0].size() > 2)
        order = {2, 1, 0}; // a leading four-digit year always means year, month, day
    const QStringView day = groups[size_t(order[0])];
    const QStringView month = groups[size_t(order[1])];
    const QStringView year = groups[size_t(order[2])];
    if (day.size() > 2 || month.size() > 2)
        return std::nullopt;
    const QDate date(expandYear(year.toInt(), year.size()), month.toInt(), day.toInt());
    if (!date.isValid())
        return std::nullopt;
    QStringView rest = text.mid(m.capturedLength(0));
    if (rest.startsWith(QLatin1Char('T')))
        rest = rest.mid(1);
    return DatePart{date, rest.trimmed()};
}

struct Marker {
    QString text;
    bool pm;
};

QList<Marker> dayHalfMarkers(const QLocale& locale)
{
    QList<Marker> markers;
    if (!locale.amText().isEmpty())
        markers.append({locale.amText(), false});
    if (!locale.pmText().isEmpty())
        markers.append({locale.pmText(), true});
    for (const char* am : {"AM", "A.M."})
        markers.append({QString::fromLatin1(am), false});
    for (const char* pm : {"PM", "P.M."})
        markers.append({QString::fromLatin1(pm), true});
    return markers;
}

// Strips an AM/PM marker from the front of `text`; tells whether it was PM.
std::optional<bool> takeMarker(QStringView& text, const QList<Marker>& markers)
{
    for (const Marker& marker : markers) {
        if (!text.startsWith(marker.text, Qt::CaseInsensitive))
            continue;
        const QStringView after = text.mid(marker.text.size());
        // "AM" must not be the start of a longer word.
        if (!after.isEmpty() && after.front().isLetter())
            continue;
        text = after.trimmed();
        return marker.pm;
    }
    return std::nullopt;
}

bool isZoneName(QStringView text)
{
    static const QRegularExpression re(QStringLiteral(
        "^(?:[A-Za-z]{1,6}(?:[+-]\\d{1,2}(?::?\\d{2})?)?|[+-]\\d{1,2}(?::?\\d{2})?)$"));
    return re.match(text).hasMatch();
}

// Locales such as Finnish write times as 21.05.07; elsewhere a dot never separates a time,
// so "05.03.24" stays a date there.
bool localeTimeUsesDot(const QLocale& locale)
{
    static const QRegularExpression re(QStringLiteral("[Hh]+\\.m"));
    return re.match(locale.timeFormat(QLocale::LongFormat)).hasMatch();
}

// A time of day and nothing else (bar a marker and a zone name).
std::optional<QTime> pureTime(QStringView text, const QLocale& locale)
{
    static const QRegularExpression colon(
        QStringLiteral("^(\\d{1,2})\\s*:\\s*(\\d{1,2})(?:\\s*:\\s*(\\d{1,2})(?:[.,]\\d{1,9})?)?"));
    static const QRegularExpression colonOrDot(QStringLiteral(
        "^(\\d{1,2})\\s*[:.]\\s*(\\d{1,2})(?:\\s*[:.]\\s*(\\d{1,2})(?:,\\d{1,9})?)?"));
    const QList<Marker> markers = dayHalfMarkers(locale);
    QStringView rest = text.trimmed();
    std::optional<bool> pm = takeMarker(rest, markers);
    const QRegularExpressionMatch m = (localeTimeUsesDot(locale) ? colonOrDot : colon).match(rest);
    if (!m.hasMatch())
        return std::nullopt;
    int hour = m.capturedView(1).toInt();
    const int minute = m.capturedView(2).toInt();
    const int second = m.capturedLength(3) > 0 ? m.capturedView(3).toInt() : 0;
    rest = rest.mid(m.capturedLength(0)).trimmed();
    if (!pm)
        pm = takeMarker(rest, markers);
    if (!rest.isEmpty() && !isZoneName(rest))
        return std::nullopt;
    if (pm) {
        if (hour > 12)
            return std::nullopt;
        hour = hour % 12 + (*pm ? 12 : 0);
    }
    const QTime time(hour, minute, second);
    if (!time.isValid())
        return std::nullopt;
    return time;
}

// Times in the locale's own forms that the numeric reading does not cover ("9時05分07秒").
std::optional<QTime> localeFormTime(QStringView text, const QLocale& locale)
{
    const QString whole = text.toString();
    QString withoutZone = whole;
    static const QRegularExpression zone(QStringLiteral("\\s+\\S+$"));
    const QRegularExpressionMatch m = zone.match(whole);
    if (m.hasMatch() && isZoneName(m.captured(0).trimmed()))
        withoutZone.truncate(m.capturedStart(0));
    for (const QLocale::FormatType type : {QLocale::LongFormat, QLocale::ShortFormat}) {
        const QString format = locale.timeFormat(type);
        QString noZone = format;
        noZone.remove(QLatin1Char('t'));
        for (const auto& [candidate, pattern] :
             {std::pair(whole, format), std::pair(withoutZone, noZone.trimmed())}) {
            const QTime time = locale.toTime(candidate, pattern);
            if (time.isValid())
                return time;
        }
    }
    return std::nullopt;
}

QStringList dateFormats(const QLocale& locale)
{
    QStringList formats;
    for (const QLocale::FormatType type : {QLocale::ShortFormat, QLocale::LongFormat}) {
        const QString format = locale.dateFormat(type);
        formats << format;
        if (!format.contains(QLatin1String("yyyy")))
            formats << QString(format).replace(QLatin1String("yy"), QLatin1String("yyyy"));
    }
    formats << QStringLiteral("d MMM yyyy") << QStringLiteral("d MMMM yyyy")
            << QStringLiteral("MMM d, yyyy") << QStringLiteral("MMMM d, yyyy")
            << QStringLiteral("dddd, d MMMM yyyy") << QStringLiteral("dddd, MMMM d, yyyy");
    return formats;
}

// Dates in the locale's own forms (month names, "yy. M. d." and the like), in its language
// or in English.
std::optional<QDate> namedDate(QStringView text, const QLocale& locale)
{
    const QString whole = text.toString();
    for (const QLocale& language : {locale, QLocale::c()}) {
        for (const QString& format : dateFormats(locale)) {
            QDate date = language.toDate(whole, format);
            if (!date.isValid())
                continue;
            if (!format.contains(QLatin1String("yyyy")))
                date = QDate(expandYear(date.year() % 100, 2), date.month(), date.day());
            return date;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<QDate> dateFromText(QStringView text, const QLocale& locale)
{
    const QStringView trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    if (const auto part = numericDate(trimmed, locale)) {
        if (part->rest.isEmpty() || pureTime(part->rest, locale))
            return part->date;
        return std::nullopt;
    }
    if (const auto date = namedDate(trimmed, locale))
        return date;
    // A named date followed by a time of day.
    static const QRegularExpression tail(QStringLiteral("\\s+(\\d{1,2}\\s*[:.]\\s*\\d.*)$"));
    const QRegularExpressionMatch m = tail.match(trimmed);
    if (m.hasMatch() && pureTime(m.capturedView(1), locale))
        return namedDate(trimmed.left(m.capturedStart(0)), locale);
    return std::nullopt;
}

std::optional<QTime> timeFromText(QStringView text, const QLocale& locale)
{
    const QStringView trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    if (const auto time = pureTime(trimmed, locale))
        return time;
    if (const auto time = localeFormTime(trimmed, locale))
        return time;
    if (const auto part = numericDate(trimmed, locale)) {
        if (part->rest.isEmpty())
            return QTime(0, 0);
        return pureTime(part->rest, locale);
    }
    static const QRegularExpression tail(QStringLiteral("\\s+(\\d{1,2}\\s*[:.]\\s*\\d.*)$"));
    const QRegularExpressionMatch m = tail.match(trimmed);
    if (m.hasMatch() && namedDate(trimmed.left(m.capturedStart(0)), locale))
        return pureTime(m.capturedView(1), locale);
    if (dateFromText(trimmed, locale))
        return QTime(0, 0);
    return std::nullopt;
}

QString isoDateText(const QDate& date)
{
    int year = 0, month = 0, day = 0;
    date.getDate(&year, &month, &day);
    if (year < 0 || year > 9999)
        return QString::asprintf("%04d-%02d-%02d", year, month, day);
    // Written digit by digit: the agenda and the registers build a few of these per query.
    const char16_t text[10] = {char16_t(u'0' + year / 1000),
                               char16_t(u'0' + year / 100 % 10),
                               char16_t(u'0' + year / 10 % 10),
                               char16_t(u'0' + year % 10),
                               u'-',
                               char16_t(u'0' + month / 10),
                               char16_t(u'0' + month % 10),
                               u'-',
                               char16_t(u'0' + day / 10),
                               char16_t(u'0' + day % 10)};
    return QString(reinterpret_cast<const QChar*>(text), 10);
}

QString isoTimeText(const QTime& time)
{
    return QString::asprintf("%02d:%02d:%02d", time.hour(), time.minute(), time.second());
}

} // namespace jet
