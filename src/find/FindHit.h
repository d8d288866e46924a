#pragma once

#include <QDate>
#include <QString>
#include <QTime>
#include <QVariantList>

#include "data/Register.h"
#include "find/FindQuery.h"

namespace find {

// One record that holds the text: the first of its text fields that does, in column order.
struct FindHit {
    data::Register which = data::Register::Local;
    qint64 rowKey = 0; // the row's identity in its table (Database::rowIdentity), for opening it
    int serial = 0;    // sl_no when it was found
    QDate date;        // a programme's date and time; a tour's departure
    QTime time;
    QString field;            // the column that holds the text: topic, venue, travel_from ...
    int fieldOrdinal = 0;     // its ordinal in `record`
    QString text;             // the field as shown (varnel::decode)
    qsizetype matchStart = 0; // the match in `text`, widened to whole letters
    qsizetype matchLength = 0;
    Reading reading = Reading::Literal;
    QVariantList record; // every column by ordinal (sl_no first), as the engine types them
};

} // namespace find
