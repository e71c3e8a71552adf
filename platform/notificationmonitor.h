#pragma once

#include <QObject>
#include <QString>

#include <memory>

// What a Notify call to the notification service says that a rule may look at.
struct NotifyCall {
    QString caller; // the unique bus name of the program that asks
    quint32 serial = 0;
    QString appName;
    quint32 replacesId = 0;
    QString desktopEntry; // the "desktop-entry" hint, "" without one
    int urgency = 1;      // the "urgency" hint: 0 low, 1 normal (also without one), 2 critical
};

// Watches the session bus as a monitor (org.freedesktop.DBus.Monitoring.BecomeMonitor), asking
// for nothing but the Notify calls, the notification service's replies and its
// NotificationClosed signals. A monitor may never send: its connection is libdbus's own, read
// from the event loop and never dispatched, so that no message is answered.
class NotificationMonitor : public QObject {
    Q_OBJECT

public:
    explicit NotificationMonitor(QObject* parent = nullptr);
    ~NotificationMonitor() override;

    // Connects to the session bus and becomes a monitor; false, with the reason, where it cannot.
    bool start(QString* error);
    void stop();
    bool isRunning() const;

signals:
    void notifyCalled(const NotifyCall& call);
    // The notification service's reply to `caller`'s call number `serial`.
    void notifyAnswered(const QString& caller, quint32 serial, quint32 id);
    void notificationClosed(quint32 id);
    // The bus went away; the monitor has stopped.
    void lost();

private:
    void readMessages();

    struct Connection;
    std::unique_ptr<Connection> m_connection;
};
