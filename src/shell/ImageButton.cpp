#include "shell/ImageButton.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>

#include "shell/MouseHooks.h"
#include "shell/Pictures.h"
#include "shell/ShapeWidget.h"
#include "shell/ShellColours.h"
#include "shell/Twips.h"
#include "widgets/VarnelLabel.h"

namespace {

constexpr int kIconTwips = 480;
constexpr int kRimPixels = 3;

ShapeWidget* makeLine(QWidget* form, const QString& name, const QRect& place)
{
    auto* line = new ShapeWidget(ShapeWidget::Kind::Rectangle, form);
    line->setObjectName(name);
    line->setBorderWidth(0);
    line->setFillColour(shell::kBlack);
    line->setGeometry(place);
    line->hide();
    return line;
}

} // namespace

QPoint ImageButtonLayout::iconInDisc(QPoint discAt, int disc)
{
    // Centred in pixels, so that icon and disc are concentric on the screen.
    const int offset = tw(disc) / 2 - tw(kIconTwips) / 2;
    return discAt + QPoint(offset * kTwipsPerPixel, offset * kTwipsPerPixel);
}

QRect ImageButton::iconGeometry(const ImageButtonLayout& design)
{
    return twRect(design.iconAt.x(), design.iconAt.y(), kIconTwips, kIconTwips);
}

QRect ImageButton::discGeometry(const ImageButtonLayout& design)
{
    // Concentric with the icon to the pixel: a 49-pixel disc around a 32-pixel icon starts
    // 8 pixels up and left of it.
    const QRect icon = iconGeometry(design);
    const int d = tw(design.disc);
    const QPoint centre(icon.left() + icon.width() / 2, icon.top() + icon.height() / 2);
    return QRect(centre.x() - d / 2, centre.y() - d / 2, d, d);
}

QRect ImageButton::captionGeometry(const ImageButtonLayout& design)
{
    if (!design.captionRect.isEmpty())
        return twRect(design.captionRect.x(), design.captionRect.y(), design.captionRect.width(),
                      design.captionRect.height());
    return twRect(design.iconAt.x() - 240, design.iconAt.y() + 675, 1215, 315);
}

std::array<QRect, 3> ImageButton::bracketGeometry(const ImageButtonLayout& design)
{
    // An upper arm level with the icon's lower half, an upright, and a lower arm that runs into
    // the caption's left edge.
    const QRect caption = captionGeometry(design);
    const int right = caption.left();
    const int left = right - tw(240);
    const int top = tw(design.iconAt.y() + 315);
    const int bottom = caption.top() + tw(120);
    return {QRect(left, top, right - left, 1), QRect(left, top, 1, bottom - top),
            QRect(left, bottom, right - left, 1)};
}

ImageButton::ImageButton(QWidget* form, const ImageButtonLayout& design, ImageButton* discHost)
    : QObject(nullptr)
{
    if (discHost) {
        m_disc = discHost->m_disc;
        m_lines = discHost->m_lines;
    } else {
        m_disc = new ShapeWidget(ShapeWidget::Kind::Circle, form);
        m_disc->setObjectName(design.discName);
        m_disc->setBorderWidth(kRimPixels);
        m_disc->setGeometry(discGeometry(design));
        const auto bracket = bracketGeometry(design);
        for (int i = 0; i < 3; ++i)
            m_lines[i] =
                makeLine(form, QStringLiteral("Line0(%1)").arg(design.firstLine + i), bracket[i]);
    }

    m_icon = new QLabel(form);
    m_icon->setObjectName(design.iconName);
    m_icon->setGeometry(iconGeometry(design));
    m_icon->setPixmap(design.picture);
    m_icon->setCursor(Pictures::arrowPointer());
    // Tab reaches it; a click does not take the focus from the field being typed in.
    m_icon->setFocusPolicy(Qt::TabFocus);
    m_icon->installEventFilter(this);
    // The icon lies over its disc.
    m_icon->raise();

    m_caption = new varnel::VarnelLabel(form);
    m_caption->setObjectName(design.captionName);
    m_caption->setGeometry(captionGeometry(design));
    m_caption->setFont(design.captionFont);
    m_caption->setAlignment(Qt::AlignCenter);
    // Coloured text on white inside a black single border.
    m_caption->setStyleSheet(QStringLiteral("QLabel { background: white; border: 1px solid black; "
                                            "color: %1; }")
                                 .arg(design.captionColour.name()));
    m_caption->setCaption(design.caption);
    m_caption->hide();

    rest();

    MouseHooks::on(m_icon)
        ->onMove([this](QMouseEvent*) { hover(); })
        .onDown([this](QMouseEvent*) { press(); })
        .onClick([this](QMouseEvent*) { run(); });
}

void ImageButton::run()
{
    // The command may close the window and with it this button.
    const auto command = m_command;
    emit clicked();
    if (command)
        command();
}

bool ImageButton::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_icon)
        return false;
    switch (event->type()) {
    case QEvent::FocusIn: {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
            m_keyboardFocus = true;
        // Back from a dialog the button asked, the keyboard user finds it lit again.
        if (m_keyboardFocus)
            hover();
        break;
    }
    case QEvent::FocusOut: {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            break;
        if (m_keyboardFocus) {
            m_keyboardFocus = false;
            rest();
        }
        break;
    }
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool activates = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
                               key->key() == Qt::Key_Space;
        if (!activates || !m_keyboardFocus || (key->modifiers() & ~Qt::KeypadModifier))
            break;
        if (key->isAutoRepeat())
            return true;
        const QPointer<QLabel> icon = m_icon;
        press();
        run();
        // No mouse-up darkens a pressed disc; a key that is let go leaves the hover look.
        if (icon && m_keyboardFocus) {
            m_disc->setFillColour(shell::kBlack);
            hover();
        }
        return true;
    }
    default: break;
    }
    return false;
}

void ImageButton::setCommand(std::function<void()> command)
{
    m_command = std::move(command);
}

void ImageButton::setIconVisible(bool visible)
{
    m_icon->setVisible(visible);
}

void ImageButton::setDiscVisible(bool visible)
{
    m_disc->setVisible(visible);
}

void ImageButton::setVisible(bool visible)
{
    setDiscVisible(visible);
    setIconVisible(visible);
}

bool ImageButton::isIconVisible() const
{
    return !m_icon->isHidden();
}

void ImageButton::hover()
{
    m_disc->setBorderColour(shell::kWhite);
    for (ShapeWidget* line : m_lines)
        line->show();
    m_caption->show();
    m_caption->raise();
}

void ImageButton::press()
{
    m_disc->setFillColour(shell::kWhite);
}

void ImageButton::rest()
{
    m_disc->setFillColour(shell::kBlack);
    m_disc->setBorderColour(shell::kBlack);
    for (ShapeWidget* line : m_lines)
        line->hide();
    m_caption->hide();
}

bool ImageButton::isHovered() const
{
    return !m_caption->isHidden();
}

bool ImageButton::isPressed() const
{
    return m_disc->fillColour() == shell::kWhite;
}
