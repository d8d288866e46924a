#include "shell/ImageButtonPanel.h"

#include <QLabel>
#include <QWidget>

#include "shell/ImageButton.h"
#include "shell/MouseHooks.h"

ImageButtonPanel::ImageButtonPanel(QWidget* form) : QObject(form), m_form(form) {}

ImageButton* ImageButtonPanel::add(const ImageButtonLayout& design)
{
    return addSharingDisc(nullptr, design);
}

ImageButton* ImageButtonPanel::addSharingDisc(ImageButton* host, const ImageButtonLayout& design)
{
    auto* button = new ImageButton(m_form, design, host);
    button->setParent(this);
    m_buttons.append(button);
    return button;
}

void ImageButtonPanel::resetOn(QWidget* background)
{
    MouseHooks::on(background)->backgroundOnly().onMove([this](QMouseEvent*) { reset(); });
}

void ImageButtonPanel::reset()
{
    for (ImageButton* button : m_buttons)
        button->rest();
}

ImageButton* ImageButtonPanel::button(const QString& iconName) const
{
    for (ImageButton* b : m_buttons) {
        if (b->icon()->objectName() == iconName)
            return b;
    }
    return nullptr;
}
