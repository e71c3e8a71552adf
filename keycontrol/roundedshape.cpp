#include "roundedshape.h"

#include <QPainter>

#include <algorithm>

RoundedShape::RoundedShape(const QColor& fill, Outline outline, QWidget* parent)
    : QWidget(parent), m_fill(fill), m_outline(outline) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void RoundedShape::setFillColor(const QColor& color) {
    if (color == m_fill)
        return;
    m_fill = color;
    update();
}

void RoundedShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (m_outline) {
    case Outline::None:
        painter.setPen(Qt::NoPen);
        break;
    case Outline::Black:
        painter.setPen(QPen(Qt::black, 1));
        break;
    case Outline::WindowText:
        // The active colour even when disabled: a disabled key must look like an enabled one.
        painter.setPen(QPen(palette().color(QPalette::Active, QPalette::WindowText), 1));
        break;
    }
    painter.setBrush(m_fill);
    // Half-pixel inset keeps a 1-pixel outline on whole pixels along the straight edges.
    QRectF box = rect();
    if (m_outline != Outline::None)
        box.adjust(0.5, 0.5, -0.5, -0.5);
    const qreal radius = std::min(width(), height()) / 8.0;
    painter.drawRoundedRect(box, radius, radius);
}
