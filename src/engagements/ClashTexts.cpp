#include "engagements/ClashTexts.h"

#include <QStringList>

#include "data/DayName.h"
#include "platform/varnel/KannadaDigits.h"
#include "platform/varnel/VarnelCodec.h"

namespace engagements::texts {

namespace {

QString dateTimeText(const QDate& date, const QTime& time)
{
    return data::gridDateText(date) + QLatin1Char(' ') + data::hourMinuteText(time);
}

// "<register>, <date> <time>: <subject>"; a tour names its departure, arrival and places.
QString recordText(const Entry& entry)
{
    QString when = dateTimeText(entry.date, entry.time);
    if (entry.isTour())
        when += QStringLiteral(" - ") + dateTimeText(entry.endDate, entry.endTime);
    const QString subject = entry.isTour() ? varnel::decode(entry.subject) + QStringLiteral(" - ") +
                                                 varnel::decode(entry.place)
                                           : varnel::decode(entry.subject);
    return data::registerCaption(entry.which) + QStringLiteral(", ") + when + QStringLiteral(": ") +
           subject;
}

} // namespace

QString clashQuestion(const QList<Entry>& clashesWith)
{
    QStringList lines{QStringLiteral(u"ಈ ದಾಖಲೆಯು ಇವುಗಳೊಂದಿಗೆ ಘರ್ಷಿಸುತ್ತದೆ:")};
    for (qsizetype i = 0; i < clashesWith.size() && i < kQuestionLines; ++i)
        lines << recordText(clashesWith[i]);
    if (clashesWith.size() > kQuestionLines)
        lines << QStringLiteral(u"ಮತ್ತು ಇನ್ನೂ %1").arg(clashesWith.size() - kQuestionLines);
    lines << QStringLiteral(u"ಆದರೂ ಉಳಿಸಬೇಕೇ??");
    // Dates, times and the count in Kannada digits, as the windows show them.
    return varnel::kannadaDigits(lines.join(QLatin1Char('\n')));
}

} // namespace engagements::texts
