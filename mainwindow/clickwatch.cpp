#include "mainwindow/clickwatch.h"

#include <QMouseEvent>
#include <QWidget>

ClickWatch::ClickWatch(QWidget* widget) : QObject(widget) {
    widget->installEventFilter(this);
}

bool ClickWatch::eventFilter(QObject* watched, QEvent* event) {
    if (watched != parent())
        return false;
    if (event->type() == QEvent::MouseButtonPress) {
        m_pressed = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    } else if (event->type() == QEvent::MouseButtonRelease && m_pressed) {
        const auto* release = static_cast<QMouseEvent*>(event);
        if (release->button() != Qt::LeftButton)
            return false;
        m_pressed = false;
        if (static_cast<QWidget*>(watched)->rect().contains(release->position().toPoint()))
            emit clicked();
    }
    return false;
}
