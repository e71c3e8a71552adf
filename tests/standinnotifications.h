#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

// A notification service standing in for the desktop's on a private bus: ids from 1 on, closed
// on request; it notes each notice as "APP: SUMMARY (replaces ID)", with " transient" for one
// that says so.
class StandInNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    QStringList notices;

    bool registerOn(QDBusConnection bus) {
        return bus.registerService("org.freedesktop.Notifications") &&
               bus.registerObject("/org/freedesktop/Notifications", this,
                                  QDBusConnection::ExportAllSlots |
                                      QDBusConnection::ExportAllSignals);
    }

public slots:
    uint Notify(const QString& app, uint replacesId, const QString&, const QString& summary,
                const QString&, const QStringList&, const QVariantMap& hints, int) {
        notices << QStringLiteral("%1: %2 (replaces %3)%4")
                       .arg(app, summary)
                       .arg(replacesId)
                       .arg(hints.value("transient").toBool() ? " transient" : "");
        return replacesId ? replacesId : ++m_lastId;
    }
    void CloseNotification(uint id) { emit NotificationClosed(id, 3); }

signals:
    void NotificationClosed(uint id, uint reason);

private:
    uint m_lastId = 0;
};
