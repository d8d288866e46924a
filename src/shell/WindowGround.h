#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

#include "shell/ShellColours.h"

namespace shell {

// Fills `widget`'s ground with `colour` (the windows' common ground by default).
inline void paintGround(QWidget* widget, const QColor& colour = kFormColour)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, colour);
    widget->setPalette(pal);
    widget->setAutoFillBackground(true);
}

} // namespace shell
