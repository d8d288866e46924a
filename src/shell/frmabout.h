#pragma once

#include <QDialog>

class ImageButton;
class ImageButtonPanel;
class QFrame;
class QLabel;
namespace varnel {
class VarnelLabel;
}

// The about card, shown modally: product name, version, the program's icon and the credits.
// Escape, a click on its ground and the back button close it; a click on a text does nothing.
class frmabout : public QDialog {
    Q_OBJECT
public:
    explicit frmabout(QWidget* parent = nullptr);

    varnel::VarnelLabel* Label1;
    varnel::VarnelLabel* Label2;
    varnel::VarnelLabel* Label3;
    varnel::VarnelLabel* Label4;
    varnel::VarnelLabel* Label5;
    varnel::VarnelLabel* Label6;
    varnel::VarnelLabel* Label7;
    varnel::VarnelLabel* Label10;
    QLabel* Image1;
    QFrame* Frame1;
    ImageButtonPanel* buttons;
    ImageButton* ImageExit;

public slots:
    void Form_Click();
    void Form_KeyDown(int KeyCode);
    void ImageExit_Click();
    void Form_MouseMove();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
