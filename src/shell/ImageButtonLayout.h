#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QString>

// Everything that differs between two image buttons. Places are in twips, as the window
// layouts give them.
struct ImageButtonLayout {
    // Disc diameters of the three kinds of window.
    static constexpr int kRegisterDisc = 735;
    static constexpr int kListDisc = 900; // search and report windows
    static constexpr int kAboutDisc = 825;

    QString iconName;    // "ImageSave"
    QString discName;    // "ShapeSave"
    QString captionName; // "Label0(2)"
    int firstLine = 1;   // the bracket is Line0(firstLine) to Line0(firstLine + 2)
    QPixmap picture;     // the 32 × 32 icon
    QPoint iconAt;       // the icon's left and top
    int disc = kRegisterDisc;
    QByteArray caption; // Varnel bytes
    QColor captionColour;
    QFont captionFont;
    // The caption's place; when empty it lies under the icon as in the registers: 240 twips to
    // the left of the icon, 675 below its top, 1215 × 315.
    QRect captionRect;

    // The icon's left and top for an icon centred in a disc whose left and top are given (the
    // search windows give the disc's place).
    static QPoint iconInDisc(QPoint discAt, int disc);
};
