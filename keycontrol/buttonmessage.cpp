#include "keycontrol/buttonmessage.h"

#include <QCoreApplication>
#include <QWidget>

ButtonMessageEvent::ButtonMessageEvent(ButtonMessage message, QPoint position)
    : QEvent(eventType()), m_message(message), m_position(position) {}

QEvent::Type ButtonMessageEvent::eventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void SendButtonMessage(QWidget* window, ButtonMessage message, QPoint position) {
    if (!window)
        return;
    ButtonMessageEvent event(message, position);
    QCoreApplication::sendEvent(window, &event);
}
