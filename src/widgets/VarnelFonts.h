#pragma once

#include <QFont>
#include <QString>

#include "platform/varnel/KannadaDigits.h"

namespace varnel {

// The three Varnel font names the windows use: body text, small captions, titles.
enum class VarnelFont { Akshara, Akshara02, Akshara08 };

// The installed Unicode Kannada face that stands for a Varnel font, at the documented size.
QFont varnelFont(VarnelFont role, qreal pointSize, bool bold = false);

// By Varnel font name ("Varnel Akshara", "Varnel Akshara-02", "Varnel Akshara-08"); an unknown name
// gets the body text face.
QFont varnelFont(const QString& fontName, qreal pointSize, bool bold = false);

} // namespace varnel
