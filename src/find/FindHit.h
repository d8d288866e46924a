#pragma once

#include <QDate>
#include <QFlags>
#include <QString>
#include <QTime>
#include <QVariantList>

#include "find/FindQuery.h"

namespace find {

enum class Register { Local = 0x1, Outstation = 0x2, Tour = 0x4 };
Q_DECLARE_FLAGS(Registers, Register)
Q_DECLARE_OPERATORS_FOR_FLAGS(Registers)

Registers everyRegister();
// The register's table: local, outstation or tour.
QString tableName(Register which);

// One record that holds the text: the first of its text fields that does, in column order.
struct FindHit {
    Register which = Register::Local;
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
