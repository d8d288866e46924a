#pragma once

#include <QDialog>

#include "shell/Pictures.h"

class QLabel;
class QPushButton;
class ShapeWidget;
namespace varnel {
class VarnelLabel;
}

// What frmmsg and frmquestion share: a titled dialog with "-" as its title and no close
// button, the form colour, a picture at the top left, the centred text label beside it and a
// rule above the buttons.
class MessageDialogBase : public QDialog {
    Q_OBJECT
public:
    QLabel* Image1;
    varnel::VarnelLabel* Label1;
    ShapeWidget* Line1;

    // A text longer than the label's three lines (an engine error naming a long path) would be
    // cut off: the label grows to hold it and the rule and buttons move down with the bottom.
    void growToFitText();

protected:
    // Sizes in twips. The rule runs from the left edge to `ruleRight` at height `ruleTop`.
    MessageDialogBase(QWidget* parent, int clientWidth, int clientHeight, Pictures::Icon picture,
                      int ruleRight, int ruleTop);

    // A graphical-style button of the dialog, in "Varnel Akshara-08" at `points`.
    QPushButton* makeButton(const QByteArray& caption, const QRect& place, qreal points);
};
