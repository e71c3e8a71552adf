#pragma once

#include <QEvent>
#include <QPoint>

class QWidget;

// The mouse-button window messages the game sends to a key to show it pressed and released,
// numbered as the Windows messages they stand for.
enum class ButtonMessage { LeftButtonDown = 513, LeftButtonUp = 514 };

// A button message on its way to a window. It carries no modifier or button flags, only the
// message and the pointer position in the receiving window's own coordinates.
class ButtonMessageEvent : public QEvent {
public:
    ButtonMessageEvent(ButtonMessage message, QPoint position);

    static QEvent::Type eventType();

    ButtonMessage message() const { return m_message; }
    QPoint position() const { return m_position; }

private:
    ButtonMessage m_message;
    QPoint m_position;
};

// Delivers message to window and returns once the window has handled it.
void SendButtonMessage(QWidget* window, ButtonMessage message, QPoint position = {});
