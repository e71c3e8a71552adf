#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QStringList>

// A system tray standing in for the desktop's on a private bus: the StatusNotifierWatcher with a
// host registered, noting the services of the items that register with it.
class StandInTrayHost : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isHostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)

public:
    QStringList registered;

    bool registerOn(QDBusConnection bus) {
        return bus.registerService("org.kde.StatusNotifierWatcher") &&
               bus.registerObject("/StatusNotifierWatcher", this,
                                  QDBusConnection::ExportAllSlots |
                                      QDBusConnection::ExportAllSignals |
                                      QDBusConnection::ExportAllProperties);
    }

    bool isHostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
    QStringList items() const { return registered; }

public slots:
    void RegisterStatusNotifierItem(const QString& service) {
        registered << service;
        emit StatusNotifierItemRegistered(service);
    }
    void RegisterStatusNotifierHost(const QString&) {}

signals:
    void StatusNotifierItemRegistered(const QString& service);
    void StatusNotifierHostRegistered();
};
