#include "shell/ShapeWidget.h"

#include <QPainter>

ShapeWidget::ShapeWidget(Kind kind, QWidget* parent) : QWidget(parent), m_kind(kind)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void ShapeWidget::setFillColour(const QColor& colour)
{
    if (m_fill == colour)
        return;
    m_fill = colour;
    update();
}

void ShapeWidget::setBorderColour(const QColor& colour)
{
    if (m_border == colour)
        return;
    m_border = colour;
    update();
}

void ShapeWidget::setBorderWidth(int pixels)
{
    m_borderWidth = pixels;
    update();
}

void ShapeWidget::setFilled(bool filled)
{
    m_filled = filled;
    update();
}

void ShapeWidget::setDrawMode(DrawMode mode)
{
    m_mode = mode;
    update();
}

void ShapeWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (m_mode == DrawMode::Mask)
        p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    const QRectF outer = rect();
    const qreal w = m_borderWidth;
    if (m_kind == Kind::Circle) {
        p.setRenderHint(QPainter::Antialiasing, m_mode == DrawMode::Copy);
        p.setPen(Qt::NoPen);
        if (w > 0) {
            p.setBrush(m_border);
            p.drawEllipse(outer);
        }
        const QRectF inner = outer.adjusted(w, w, -w, -w);
        if (m_filled && inner.isValid()) {
            p.setBrush(m_fill);
            p.drawEllipse(inner);
        }
        return;
    }
    // Rectangles are drawn pixel-exact: border pixels first, then the fill inside them, so no
    // pixel is drawn twice (which would matter in mask mode only for the look of the corners).
    const QRect r = rect();
    const int b = m_borderWidth;
    if (b > 0) {
        p.fillRect(QRect(r.left(), r.top(), r.width(), b), m_border);
        p.fillRect(QRect(r.left(), r.bottom() - b + 1, r.width(), b), m_border);
        p.fillRect(QRect(r.left(), r.top() + b, b, r.height() - 2 * b), m_border);
        p.fillRect(QRect(r.right() - b + 1, r.top() + b, b, r.height() - 2 * b), m_border);
    }
    if (m_filled)
        p.fillRect(r.adjusted(b, b, -b, -b), m_fill);
}
