#pragma once

#include <QList>
#include <QObject>

#include "shell/ImageButtonLayout.h"

class ImageButton;
class QWidget;

// The image buttons of one window, and the window's reset: every mouse move over the window's
// ground (or over a frame given to resetOn) puts every disc back to black and hides every
// bracket and caption, whether or not anything was lit. Moves over a control that takes mouse
// events (a text box, a label, an icon) do not reset.
class ImageButtonPanel : public QObject {
    Q_OBJECT
public:
    explicit ImageButtonPanel(QWidget* form);

    ImageButton* add(const ImageButtonLayout& design);
    // A button in the same place as `host`, sharing its disc and bracket (New and Cancel).
    ImageButton* addSharingDisc(ImageButton* host, const ImageButtonLayout& design);

    // Runs reset() on mouse moves over the ground of `background` (the form itself, a frame).
    // Windows that need a handler of their own there call reset() from it instead.
    void resetOn(QWidget* background);

    void reset();

    const QList<ImageButton*>& buttons() const { return m_buttons; }
    ImageButton* button(const QString& iconName) const;

private:
    QWidget* m_form;
    QList<ImageButton*> m_buttons;
};
