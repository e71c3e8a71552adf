#include "windowicon.h"

#include <QPainter>
#include <QPixmap>

QIcon windowIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::black);
    painter.setBrush(QColor(192, 192, 192));
    painter.drawRoundedRect(QRectF(1.5, 3.5, 29, 26), 4, 4);
    painter.setBrush(QColor(224, 224, 224));
    painter.drawRoundedRect(QRectF(4.5, 1.5, 23, 22), 3, 3);
    const QColor lamps[] = {QColor(0, 128, 0), QColor(0, 255, 0), QColor(0, 128, 0)};
    for (int i = 0; i < 3; ++i) {
        painter.setBrush(lamps[i]);
        painter.drawRoundedRect(QRectF(6.5 + i * 7, 15.5, 5, 4), 1, 1);
    }
    return QIcon(pixmap);
}
