#pragma once

#include <memory>

#include <QList>
#include <QString>
#include <QStringList>

#include "engagements/DiaryEntry.h"

namespace jet {
class Database;
}

// Engagements in a line of text, and a diary of them, for the clash rule's and the agenda's
// tests.

// "L1 2027-03-01 10:00[:ss]" (local no. 1), "O2 ..." (outstation), "T1 <departure> <arrival>";
// the serial number doubles as the row key.
engagements::Entry entry(const QString& description);
// "L1", "O2", "T1": the register's initial and the serial number.
QString nameOf(const engagements::Entry& e);
// The entries of `descriptions`, programmes and tours apart.
void split(const QStringList& descriptions, QList<engagements::Entry>& programmes,
           QList<engagements::Entry>& tours);

// Two registers of programmes and a tour register, as the command line tests read them:
// L1 and L2 are 59 minutes apart, L2 and L3 60; O1 lies between them; T1 takes the person
// away from 2 March 08:00 to 4 March 20:00, over L4 and O2 (30 minutes after L4), and
// arrives exactly when L5 begins. T2's arrival is stored before its departure.
std::shared_ptr<jet::Database> fixtureDiary(const QString& folder);
