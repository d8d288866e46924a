#pragma once

#include <QDate>
#include <QString>
#include <QTime>

#include "data/Record.h"
#include "find/FindQuery.h"

namespace find {

// One record that holds the text: the first of its text fields that does, in column order.
struct FindHit {
    data::Record record; // as it was found; its key opens it
    QDate date;          // a programme's date and time; a tour's departure
    QTime time;
    QString field;            // the column that holds the text: topic, venue, travel_from ...
    int fieldOrdinal = 0;     // its ordinal in `record`
    QString text;             // the field as shown (varnel::decode)
    qsizetype matchStart = 0; // the match in `text`, widened to whole letters
    qsizetype matchLength = 0;
    Reading reading = Reading::Literal;
};

} // namespace find
