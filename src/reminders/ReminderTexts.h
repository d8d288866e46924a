#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include "reminders/ReminderRule.h"

// What a reminder says, in Unicode Kannada.
namespace reminders::texts {

// The fields of the record a notification's body shows beyond what the agenda reads.
struct Details {
    QString contact;   // a programme's contact person
    QString telephone; // a programme's telephone
    QString mode;      // a tour's mode of travel
    QString arrival;   // a tour's arrival, as whenText gives it
};

// "10:30", "ನಾಳೆ 10:30" (tomorrow) or "05-03-2027 10:30", seen from `today`.
QString whenText(const QDate& date, const QTime& time, const QDate& today);

// The line at the head of a notification: a programme's time and subject; a tour's places and
// time of leaving.
QString summary(const Reminder& reminder, const QDate& today);
// A programme's venue and contact; a tour's mode of travel and arrival. Lines end with '\n'.
QString body(const Reminder& reminder, const Details& details);

// The one notification for engagements that began while the computer was off.
QString begunSummary(qsizetype count);
QString begunBody(const QList<engagements::Entry>& begun, const QDate& today);

// Said on standard error when Velmora.ini switches reminders off.
QString switchedOff();

QString openAction();
QString againAction();

} // namespace reminders::texts
