#pragma once

#include <QList>
#include <QString>

#include "engagements/DiaryEntry.h"

// The clash question's Kannada words (Unicode; a window encodes them to Varnel to show them,
// and every character here has a Varnel form).
namespace engagements::texts {

// "This record clashes with: <register>, <date> <time>: <subject> ... Save it anyway??" naming
// each record (at most kQuestionLines, then how many more).
inline constexpr int kQuestionLines = 8;
QString clashQuestion(const QList<Entry>& clashesWith);

} // namespace engagements::texts
