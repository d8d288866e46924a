#pragma once

#include <array>
#include <functional>

#include <QObject>
#include <QRect>

#include "shell/ImageButtonLayout.h"

class QLabel;
class QWidget;
class ShapeWidget;
namespace varnel {
class VarnelLabel;
}

// A picture used as a push button: the icon on a black disc with a rim, a bracket of three
// lines on its left and a caption under it. Hovering the icon turns the rim white and shows
// bracket and caption; pressing it turns the disc white; there is no mouse-up reaction, so the
// disc stays white until the window's reset. A click runs the command.
//
// By keyboard the icon is a stop of the window's Tab order: tabbed to, it shows the hover look,
// and Enter or Space presses it and runs the command.
//
// All parts are controls of the window itself (they share its coordinates) and carry their
// documented names as object names. Made and owned by an ImageButtonPanel.
class ImageButton : public QObject {
    Q_OBJECT
public:
    // Geometry in pixels, from a design in twips.
    static QRect iconGeometry(const ImageButtonLayout& design);
    static QRect discGeometry(const ImageButtonLayout& design);
    static QRect captionGeometry(const ImageButtonLayout& design);
    static std::array<QRect, 3> bracketGeometry(const ImageButtonLayout& design);

    QLabel* icon() const { return m_icon; }
    ShapeWidget* disc() const { return m_disc; }
    const std::array<ShapeWidget*, 3>& lines() const { return m_lines; }
    varnel::VarnelLabel* caption() const { return m_caption; }

    void setCommand(std::function<void()> command);

    // Which parts show; the feedback never changes these.
    void setIconVisible(bool visible);
    void setDiscVisible(bool visible);
    void setVisible(bool visible); // icon and disc
    bool isIconVisible() const;

    // The three reactions, callable directly (a window's handlers may run them in code).
    void hover();
    void press();
    void rest();

    bool isHovered() const;
    bool isPressed() const;

    // The icon has the focus from Tab or Shift+Tab (a keyboard user's stop).
    bool hasKeyboardFocus() const { return m_keyboardFocus; }

signals:
    void clicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class ImageButtonPanel;
    ImageButton(QWidget* form, const ImageButtonLayout& design, ImageButton* discHost);
    void run();

    QLabel* m_icon;
    ShapeWidget* m_disc;
    std::array<ShapeWidget*, 3> m_lines{};
    varnel::VarnelLabel* m_caption;
    std::function<void()> m_command;
    bool m_keyboardFocus = false;
};
