#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>

// The program's pictures, drawn from the SVG sources built into the program.
class Pictures {
public:
    enum class Icon {
        New,
        Cancel,
        Save,
        Delete,
        Back,
        Find,
        Report,
        Warning,
        Information,
        Question,
        SaveNotice,
        Program
    };

    // A 32 × 32 icon picture.
    static QPixmap icon(Icon which);
    // The program's icon for window frames, at every size the platform asks for.
    static QIcon programIcon();
    // The front screen's 374 × 288 picture.
    static QPixmap frontPicture();
    // The image buttons' pointer: a black arrow with a green outline, hot spot at its tip.
    static QCursor arrowPointer();

    static constexpr QSize kIconSize{32, 32};
    static constexpr QSize kFrontSize{374, 288};
};
