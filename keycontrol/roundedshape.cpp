#include "keycontrol/roundedshape.h"

#include "platform/nativelamp.h"

#include <QEvent>
#include <QPainter>

#include <algorithm>

RoundedShape::RoundedShape(const QColor& fill, Outline outline, QWidget* parent)
    : QWidget(parent), m_fill(fill), m_outline(outline) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

RoundedShape::~RoundedShape() = default;

// The program's own copy of a shape the X server shows goes stale, but lies beneath the server's
// and is drawn afresh wherever the window is repainted.
void RoundedShape::setFillColor(const QColor& color) {
    if (color == m_fill)
        return;
    m_fill = color;
    if (m_native)
        m_native->show(look());
    else
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

void RoundedShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_ground.isValid())
        painter.drawImage(0, 0, look());
    else
        draw(painter);
}

// A shape on a ground, such as a lamp, keeps each look once drawn: a lamp changes between its
// two colours up to ten times a second, and an antialiased outline costs far more than a copy.
// The other shapes are seldom drawn, and drawn afresh.
const QImage& RoundedShape::look() {
    const qreal ratio = devicePixelRatioF();
    QImage& look = m_looks[m_fill.rgba()];
    if (look.isNull() || look.devicePixelRatio() != ratio ||
        look.deviceIndependentSize() != QSizeF(size())) {
        look = QImage(size() * ratio, QImage::Format_RGB32);
        look.setDevicePixelRatio(ratio);
        look.fill(m_ground);
        QPainter onLook(&look);
        draw(onLook);
    }
    return look;
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
    if (event->type() == QEvent::PaletteChange) {
        m_looks.clear(); // the outline may follow the palette
        if (m_native)
            m_native->show(look());
    }
    QWidget::changeEvent(event);
}

void RoundedShape::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!m_ground.isValid())
        return;
    if (!m_native)
        m_native = NativeLamp::create(*window()->windowHandle());
    if (!m_native)
        return;
    placeNativeLamp();
    m_native->show(look());
    m_native->setVisible(true);
}

void RoundedShape::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (m_native)
        m_native->setVisible(false);
}

void RoundedShape::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (m_native)
        placeNativeLamp();
}

void RoundedShape::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!m_native)
        return;
    placeNativeLamp();
    m_native->show(look());
}

// Where the window's widgets lie; none of the shape's ancestors moves once it is shown.
void RoundedShape::placeNativeLamp() {
    const qreal ratio = devicePixelRatioF();
    const QPoint at = mapTo(window(), QPoint());
    m_native->setGeometry(
        QRect(QPoint(qRound(at.x() * ratio), qRound(at.y() * ratio)), size() * ratio));
}
