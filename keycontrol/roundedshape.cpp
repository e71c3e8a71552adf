#include "keycontrol/roundedshape.h"

#include <QEvent>
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

void RoundedShape::setGround(const QColor& ground) {
    m_ground = ground;
    m_looks.clear();
    setAttribute(Qt::WA_OpaquePaintEvent);
    update();
}

QPen RoundedShape::outlinePen() const {
    switch (m_outline) {
    case Outline::Black:
        return QPen(Qt::black, 1);
    case Outline::WindowText:
        // The active colour even when disabled: a disabled key must look like an enabled one.
        return QPen(palette().color(QPalette::Active, QPalette::WindowText), 1);
    case Outline::None:
        break;
    }
    return Qt::NoPen;
}

// A shape on a ground, such as a lamp, keeps each look once drawn: a lamp changes between its
// two colours up to ten times a second, and an antialiased outline costs far more than a copy.
// The other shapes are seldom drawn, and drawn afresh.
void RoundedShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_ground.isValid()) {
        draw(painter);
        return;
    }
    const qreal ratio = devicePixelRatioF();
    QPixmap& look = m_looks[m_fill.rgba()];
    if (look.isNull() || look.devicePixelRatio() != ratio ||
        look.deviceIndependentSize() != QSizeF(size())) {
        look = QPixmap(size() * ratio);
        look.setDevicePixelRatio(ratio);
        look.fill(m_ground);
        QPainter onLook(&look);
        draw(onLook);
    }
    painter.drawPixmap(0, 0, look);
}

void RoundedShape::draw(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing);
    const QPen pen = outlinePen();
    painter.setPen(pen);
    painter.setBrush(m_fill);
    // Half-pixel inset keeps a 1-pixel outline on whole pixels along the straight edges.
    QRectF box = rect();
    if (pen.style() != Qt::NoPen)
        box.adjust(0.5, 0.5, -0.5, -0.5);
    const qreal radius = std::min(width(), height()) / 8.0;
    painter.drawRoundedRect(box, radius, radius);
}

void RoundedShape::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange)
        m_looks.clear(); // the outline may follow the palette
    QWidget::changeEvent(event);
}
