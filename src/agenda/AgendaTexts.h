#pragma once

#include <QString>

#include "agenda/Agenda.h"

// The agenda's own Kannada words (Unicode; a window encodes them to Varnel to show them, and
// every character here has a Varnel form). The clash question is the clash rule's
// (engagements/ClashTexts.h).
namespace agenda::texts {

// "departure", "on tour", "arrival", "tour" before a tour's places on a line of its day.
QString tourDayWord(LineKind kind);

// The word beside a clashing line, so the mark is not colour alone: "clash".
QString clashWord();

} // namespace agenda::texts
