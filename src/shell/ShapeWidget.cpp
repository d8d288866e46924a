#include "shell/ShapeWidget.h"

#include <QPainter>

ShapeWidget::ShapeWidget(Kind kind, QWidget* parent) : QWidget(parent), kind_(kind)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void ShapeWidget::setFillColour(const QColor& colour)
{
    if (fill_ == colour)
        return;
    fill_ = colour;
    update();
}

void ShapeWidget::setBorderColour(const QColor& colour)
{
    if (border_ == colour)
        return;
    border_ = colour;
    update();
}

void ShapeWidget::setBorderWidth(int pixels)
{
    borderWidth_ = pixels;
    update();
}

void ShapeWidget::setFilled(bool filled)
{
    filled_ = filled;
    update();
}

void ShapeWidget::setDrawMode(DrawMode mode)
{
    mode_ = mode;
    update();
}

void ShapeWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (mode_ == DrawMode::Mask)
        p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    const QRectF outer = rect();
    const qreal w = borderWidth_;
    if (kind_ == Kind::Circle) {
        p.setRenderHint(QPainter::Antialiasing, mode_ == DrawMode::Copy);
        p.setPen(Qt::NoPen);
        if (w > 0) {
            p.setBrush(border_);
            p.drawEllipse(outer);
        }
        const QRectF inner = outer.adjusted(w, w, -w, -w);
        if (filled_ && inner.isValid()) {
            p.setBrush(fill_);
            p.drawEllipse(inner);
        }
        return;
    }
    // Rectangles are drawn pixel-exact: border pixels first, then the fill inside them, so no
    // pixel is drawn twice (which would matter in mask mode only for the look of the corners).
    const QRect r = rect();
    const int b = borderWidth_;
    if (b > 0) {
        p.fillRect(QRect(r.left(), r.top(), r.width(), b), border_);
        p.fillRect(QRect(r.left(), r.bottom() - b + 1, r.width(), b), border_);
        p.fillRect(QRect(r.left(), r.top() + b, b, r.height() - 2 * b), border_);
        p.fillRect(QRect(r.right() - b + 1, r.top() + b, b, r.height() - 2 * b), border_);
    }
    if (filled_)
        p.fillRect(r.adjusted(b, b, -b, -b), fill_);
}
