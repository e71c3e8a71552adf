#include "roundedshape.h"

#include <QPainter>
#include <QPixmapCache>

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

// Each look is drawn once and kept: a lamp changes between its two colours up to ten times a
// second, and an antialiased outline costs far more than a copy.
void RoundedShape::paintEvent(QPaintEvent*) {
    const QPen pen = outlinePen();
    const qreal ratio = devicePixelRatioF();
    const QString key = QStringLiteral("RoundedShape %1 %2 %3 %4 %5 %6")
                            .arg(width())
                            .arg(height())
                            .arg(ratio)
                            .arg(m_fill.rgba())
                            .arg(pen.style() == Qt::NoPen ? 0 : pen.color().rgba())
                            .arg(m_ground.isValid() ? m_ground.rgba() : 0);
    QPixmap look;
    if (!QPixmapCache::find(key, &look)) {
        look = QPixmap(size() * ratio);
        look.setDevicePixelRatio(ratio);
        look.fill(m_ground.isValid() ? m_ground : Qt::transparent);
        QPainter painter(&look);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(pen);
        painter.setBrush(m_fill);
        // Half-pixel inset keeps a 1-pixel outline on whole pixels along the straight edges.
        QRectF box = rect();
        if (pen.style() != Qt::NoPen)
            box.adjust(0.5, 0.5, -0.5, -0.5);
        const qreal radius = std::min(width(), height()) / 8.0;
        painter.drawRoundedRect(box, radius, radius);
        painter.end();
        QPixmapCache::insert(key, look);
    }
    QPainter(this).drawPixmap(0, 0, look);
}
