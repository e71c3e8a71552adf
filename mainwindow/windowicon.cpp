#include "mainwindow/windowicon.h"

#include <QPainter>
#include <QPixmap>

namespace {

QIcon iconAtSizes(std::initializer_list<int> sizes, const LockStates& locks) {
    QIcon icon;
    for (int size : sizes)
        icon.addPixmap(QPixmap::fromImage(lockStateImage(size, locks)));
    return icon;
}

} // namespace

QIcon windowIcon() {
    return iconAtSizes({32, 128}, {false, true, false});
}

QImage windowIconImage(int size) {
    return lockStateImage(size, {false, true, false});
}

QIcon lockStateIcon(const LockStates& locks) {
    return iconAtSizes({16, 22, 24, 32, 48, 64}, locks);
}

QImage lockStateImage(int size, const LockStates& locks) {
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
    for (std::size_t i = 0; i < locks.size(); ++i) {
        painter.setBrush(locks[i] ? QColor(0, 255, 0) : QColor(0, 128, 0));
        painter.drawRoundedRect(QRectF(6.5 + i * 7.0, 15.5, 5, 4), 1, 1);
    }
    return image;
}
