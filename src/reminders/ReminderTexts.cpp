#include "reminders/ReminderTexts.h"

#include <QStringList>

#include "platform/varnel/VarnelCodec.h"

namespace reminders::texts {

namespace {

QString line(const QString& caption, const QString& text)
{
    return text.trimmed().isEmpty() ? QString() : caption + QStringLiteral(": ") + text + u'\n';
}

QString programmeText(const engagements::Entry& entry)
{
    return varnel::decode(entry.subject);
}

QString tourText(const engagements::Entry& entry)
{
    return QStringLiteral(u"ಪ್ರವಾಸ: %1 - %2")
        .arg(varnel::decode(entry.subject), varnel::decode(entry.place));
}

} // namespace

QString whenText(const QDate& date, const QTime& time, const QDate& today)
{
    const QString clock = time.toString(QStringLiteral("HH:mm"));
    if (date == today)
        return clock;
    if (date == today.addDays(1))
        return QStringLiteral(u"ನಾಳೆ ") + clock;
    return date.toString(QStringLiteral("dd-MM-yyyy ")) + clock;
}

QString summary(const Reminder& reminder, const QDate& today)
{
    const engagements::Entry& entry = reminder.entry;
    const QString when = whenText(entry.date, entry.time, today);
    if (entry.isTour())
        return tourText(entry) + QStringLiteral(u", ನಿರ್ಗಮನ ") + when;
    return when + u' ' + programmeText(entry);
}

QString body(const Reminder& reminder, const Details& details)
{
    const engagements::Entry& entry = reminder.entry;
    if (entry.isTour())
        return line(QStringLiteral(u"ಪ್ರಯಾಣ"), details.mode) +
               line(QStringLiteral(u"ಆಗಮನ"), details.arrival);
    QString contact = details.contact.trimmed();
    if (!details.telephone.trimmed().isEmpty())
        contact += (contact.isEmpty() ? QString() : QStringLiteral(", ")) + details.telephone;
    // An outstation programme means a journey: said beside the venue.
    const QString venue = varnel::decode(entry.place) +
                          (entry.which == data::Register::Outstation
                               ? QStringLiteral(" (") + data::registerCaption(entry.which) + u')'
                               : QString());
    return line(QStringLiteral(u"ಸ್ಥಳ"), venue) + line(QStringLiteral(u"ಸಂಪರ್ಕ"), contact);
}

QString begunSummary(qsizetype count)
{
    return QStringLiteral(u"ಕಂಪ್ಯೂಟರ್ ಆಫ್ ಆಗಿದ್ದಾಗ %1 ಕಾರ್ಯಕ್ರಮಗಳು ಆರಂಭವಾದವು").arg(count);
}

QString begunBody(const QList<engagements::Entry>& begun, const QDate& today)
{
    // A few lines are enough to recognise them; the agenda lists them all.
    constexpr qsizetype kShown = 8;
    QString text;
    for (qsizetype i = 0; i < begun.size() && i < kShown; ++i) {
        const engagements::Entry& entry = begun[i];
        text += whenText(entry.date, entry.time, today) + u' ' +
                (entry.isTour() ? tourText(entry) : programmeText(entry)) + u'\n';
    }
    if (begun.size() > kShown)
        text += QStringLiteral("…\n");
    return text;
}

QString switchedOff()
{
    return QStringLiteral(u"Velmora.ini ನ [reminders] enabled=false: ನೆನಪುಗಳು ಆರಿಸಲ್ಪಟ್ಟಿವೆ.");
}

QString openAction()
{
    return QStringLiteral(u"ತೆರೆ");
}

QString againAction()
{
    return QStringLiteral(u"%1 ನಿಮಿಷದ ನಂತರ ಮತ್ತೆ ನೆನಪಿಸು").arg(kAgainMinutes);
}

} // namespace reminders::texts
