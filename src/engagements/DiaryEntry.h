#pragma once

#include <cstdint>

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QTime>

#include "data/Register.h"

// One record of a register as the agenda and the clash rule read it: a view of a record
// (data::Record) with only the columns they need, read apart so that a week or a save's check
// reads no more than that.
namespace engagements {

struct Entry {
    data::Register which = data::Register::Local;
    std::int64_t key = 0; // the row's identity in its table (what Recordset::Bookmark gives)
    int serial = 0;       // sl_no
    // A programme's date and time; a tour's departure.
    QDate date;
    QTime time;
    // A tour's arrival; empty for a programme.
    QDate endDate;
    QTime endTime;
    // Varnel bytes: a programme's topic and venue; a tour's places from and to.
    QByteArray subject;
    QByteArray place;

    bool isTour() const { return which == data::Register::Tour; }
    // Seconds since the start of the calendar: orders and compares dates and times together.
    std::int64_t start() const { return moment(date, time); }
    std::int64_t end() const { return moment(endDate, endTime); }
    static std::int64_t moment(const QDate& date, const QTime& time);
};

// The same record of the same register (serial numbers move, keys do not).
bool sameRecord(const Entry& a, const Entry& b);

// Orders entries by start, then register (local, outstation, tour), then serial number.
bool startsBefore(const Entry& a, const Entry& b);

} // namespace engagements
