#pragma once

#include "platform/notifications.h"

#include <QDBusConnection>

// The desktop notification service, org.freedesktop.Notifications, on the session bus: the
// notice is transient, so that it is not kept in a history, and carries its picture as image data.
// Unanswered calls are dropped without a word: a desktop without the service shows nothing.
class DesktopNotifications final : public Notifications {
public:
    explicit DesktopNotifications(QDBusConnection bus = QDBusConnection::sessionBus());

    void notify(const Notice& notice, std::function<void(quint32 id)> shown) override;

private:
    QDBusConnection m_bus;
};
