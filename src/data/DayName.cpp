#include "data/DayName.h"

#include <array>

#include "platform/jet/JetDateTime.h"
#include "platform/jet/SqlLiteral.h"

namespace data {

namespace {

// Indexed by QDate::dayOfWeek() - 1, Monday first; Sunday is the last entry.
const std::array<QByteArray, 7>& weekdayNames()
{
    static const std::array<QByteArray, 7> names = {
        QByteArray("\xB8\xC9\xC6\xC3\xAA\xC0\xC4\xAA\xC1\x67\xC0"),     // Monday
        QByteArray("\xAA\xC0\xC4\x41\x55\xC0\xBC\xC0\xAA\xC1\x67\xC0"), // Tuesday
        QByteArray("\xA7\xC4\x7A\x73\xC0\xAA\xC1\x67\xC0"),             // Wednesday
        QByteArray("\x55\xC0\xC4\x67\xC0\xC4\xAA\xC1\x67\xC0"),         // Thursday
        QByteArray("\xB1\xC0\xC4\x50\xC0\xE6\xAA\xC1\x67\xC0"),         // Friday
        QByteArray("\xB1\xC0\xA4\xAA\xC1\x67\xC0"),                     // Saturday
        QByteArray("\xA8\x73\xC1\xA3\xC0\xC4\xAA\xC1\x67\xC0"),         // Sunday
    };
    return names;
}

// The first run of punctuation between two fields of a format, trimmed.
QString separatorIn(const QString& format, QStringView firstFieldLetters, const char* fallback)
{
    qsizetype at = 0;
    while (at < format.size() && !firstFieldLetters.contains(format[at]))
        ++at;
    while (at < format.size() && firstFieldLetters.contains(format[at]))
        ++at;
    QString run;
    while (at < format.size() && !format[at].isLetter() && format[at] != QLatin1Char('\''))
        run += format[at++];
    run = run.trimmed();
    return run.isEmpty() ? QString::fromLatin1(fallback) : run;
}

} // namespace

QByteArray DayName(const QDate& date)
{
    if (!date.isValid())
        return {};
    return weekdayNames()[size_t(date.dayOfWeek() - 1)];
}

QByteArray DayName(const QDateTime& dateTime)
{
    return DayName(dateTime.date());
}

QString dateSeparator(const QLocale& locale)
{
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    if (format.contains(QLatin1String("MMM")))
        return QStringLiteral("/");
    return separatorIn(format, u"dMy", "/");
}

QString timeSeparator(const QLocale& locale)
{
    return separatorIn(locale.timeFormat(QLocale::LongFormat), u"Hh", ":");
}

QString gridDateText(const QDate& date, const QLocale& locale)
{
    const QString separator = dateSeparator(locale);
    return QString::asprintf("%02d", date.day()) + separator +
           QString::asprintf("%02d", date.month()) + separator +
           QString::asprintf("%04d", date.year());
}

QString hourMinuteText(const QTime& time, const QLocale& locale)
{
    return QString::asprintf("%02d", time.hour()) + timeSeparator(locale) +
           QString::asprintf("%02d", time.minute());
}

QString stagingTimeText(const QTime& time)
{
    return QString::asprintf("%02d:%02d", time.hour(), time.minute());
}

QString queryDateText(const QDate& date, const QLocale& locale)
{
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return locale.toString(date, format);
}

QString queryTimeText(const QTime& time, const QLocale& locale)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return locale.toString(time, format.trimmed());
}

QString dateLiteral(const QDate& date)
{
    // Digits and dashes only: nothing in it needs quoting.
    return QLatin1Char('\'') + jet::isoDateText(date) + QLatin1Char('\'');
}

QString dateValue(const QDate& date)
{
    return QStringLiteral("datevalue(") + dateLiteral(date) + QLatin1Char(')');
}

} // namespace data
