#pragma once

#include <QPalette>
#include <QPushButton>

#include "shell/ShellColours.h"
#include "widgets/VarnelFonts.h"

namespace shell {

// A push button as the program's dialogs and windows have it: the caption in a Varnel font, on
// the dialogs' button colour.
inline QPushButton* dialogButton(const QString& caption, QWidget* parent,
                                 varnel::VarnelFont font = varnel::VarnelFont::Akshara08,
                                 qreal points = 14.25)
{
    auto* button = new QPushButton(caption, parent);
    button->setFont(varnel::varnelFont(font, points));
    QPalette pal = button->palette();
    pal.setColor(QPalette::Button, kButtonColour);
    button->setPalette(pal);
    return button;
}

} // namespace shell
