#include "mainwindow/windowicon.h"

#include <QPainter>
#include <QPixmap>

QIcon windowIcon() {
    QIcon icon;
    for (int size : {32, 128})
        icon.addPixmap(QPixmap::fromImage(windowIconImage(size)));
    return icon;
}

QImage windowIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
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
    return image;
}
