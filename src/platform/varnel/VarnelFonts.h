#pragma once

#include <QFont>
#include <QString>

#include "platform/varnel/KannadaDigits.h"

namespace varnel {

// The three legacy font names: body text, small captions, titles.
enum class VarnelFont { Akshara, Akshara02, Akshara08 };

// The installed Unicode Kannada face that stands for a legacy font, at the documented size.
QFont varnelFont(VarnelFont role, qreal pointSize, bool bold = false);

// By legacy name ("Varnel Akshara", "Varnel Akshara-02", "Varnel Akshara-08"); an unknown name
// gets the body text face.
QFont varnelFont(const QString& legacyName, qreal pointSize, bool bold = false);

} // namespace varnel
