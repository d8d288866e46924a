#include "shell/DialogFrame.h"

#include <QPainter>

DialogFrame::DialogFrame(QSize clientSize, QWidget* parent)
    : QWidget(parent), m_client(new QWidget(this))
{
    setFixedSize(clientSize + QSize(2 * kBorder, 2 * kBorder));
    m_client->setGeometry(kBorder, kBorder, clientSize.width(), clientSize.height());
    m_client->setAutoFillBackground(true);
}

void DialogFrame::paintEvent(QPaintEvent*)
{
    // Outer light/dark edge, inner light/dark edge, then one line of face colour.
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, QColor(212, 208, 200));
    p.setPen(QColor(212, 208, 200));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(QColor(64, 64, 64));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    const QRect in = r.adjusted(1, 1, -1, -1);
    p.setPen(Qt::white);
    p.drawLine(in.topLeft(), in.topRight());
    p.drawLine(in.topLeft(), in.bottomLeft());
    p.setPen(QColor(128, 128, 128));
    p.drawLine(in.bottomLeft(), in.bottomRight());
    p.drawLine(in.topRight(), in.bottomRight());
}
