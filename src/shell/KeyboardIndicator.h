#pragma once

#include <QLabel>

#include "typing/KannadaKeyboard.h"

// The main window's note of how keys type: the Kannada keyboard in force, or Latin letters when
// Kannada typing is off (chosen so in the help pop-up, or switched off with Scroll Lock). It sits
// at the right end of the menu strip and lets the mouse through, so the strip reacts there as on
// its empty ground.
class KeyboardIndicator : public QLabel {
    Q_OBJECT
public:
    explicit KeyboardIndicator(QWidget* strip);

    // The note for a keyboard in force (Off: Latin letters).
    static QString textFor(varnel::KeyboardLayout active);
    // The name of a keyboard as the help pop-up offers it.
    static QString layoutName(varnel::KeyboardLayout layout);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showState();
    void place();
};
