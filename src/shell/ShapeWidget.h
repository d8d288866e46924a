#pragma once

#include <QColor>
#include <QWidget>

// A rectangle, circle or line drawn on a window. Like the shapes it stands for it takes no
// mouse events: the window beneath gets them.
class ShapeWidget : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Rectangle, Circle };
    enum class DrawMode { Copy, Mask };

    explicit ShapeWidget(Kind kind, QWidget* parent = nullptr);

    Kind kind() const { return kind_; }
    QColor fillColour() const { return fill_; }
    QColor borderColour() const { return border_; }
    int borderWidth() const { return borderWidth_; }
    bool filled() const { return filled_; }
    DrawMode drawMode() const { return mode_; }

    void setFillColour(const QColor& colour);
    void setBorderColour(const QColor& colour);
    void setBorderWidth(int pixels);
    void setFilled(bool filled);
    // Mask mode ANDs the colour into what lies beneath, so a light fill greys a white ground and
    // leaves black text black.
    void setDrawMode(DrawMode mode);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Kind kind_;
    QColor fill_{Qt::black};
    QColor border_{Qt::black};
    int borderWidth_ = 1;
    bool filled_ = true;
    DrawMode mode_ = DrawMode::Copy;
};
