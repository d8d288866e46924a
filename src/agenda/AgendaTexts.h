#pragma once

#include <QList>
#include <QString>

#include "agenda/Agenda.h"

// The agenda's own Kannada words (Unicode; a window encodes them to Varnel to show them, and
// every character here has a Varnel form).
namespace agenda::texts {

// "departure", "on tour", "arrival", "tour" before a tour's places on a line of its day.
QString tourDayWord(LineKind kind);

// The word beside a clashing line, so the mark is not colour alone: "clash".
QString clashWord();

// "This record clashes with: <register>, <date> <time>: <subject> ... Save it anyway??" naming
// each record (at most kQuestionLines, then how many more).
inline constexpr int kQuestionLines = 8;
QString clashQuestion(const QList<Entry>& clashesWith);

} // namespace agenda::texts
