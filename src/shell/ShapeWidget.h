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

    Kind kind() const { return m_kind; }
    QColor fillColour() const { return m_fill; }
    QColor borderColour() const { return m_border; }
    int borderWidth() const { return m_borderWidth; }
    bool filled() const { return m_filled; }
    DrawMode drawMode() const { return m_mode; }

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
    Kind m_kind;
    QColor m_fill{Qt::black};
    QColor m_border{Qt::black};
    int m_borderWidth = 1;
    bool m_filled = true;
    DrawMode m_mode = DrawMode::Copy;
};
