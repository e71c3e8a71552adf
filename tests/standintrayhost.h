#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QStringList>

// A system tray standing in for the desktop's on a private bus: the StatusNotifierWatcher with a
// host registered, noting the services of the items that register with it; only what Qt's
// tray icon asks of it.
class StandInTrayHost : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isHostRegistered)

public:
    QStringList registered;

    bool registerOn(QDBusConnection bus) {
        return bus.registerService("org.kde.StatusNotifierWatcher") &&
               bus.registerObject("/StatusNotifierWatcher", this,
                                  QDBusConnection::ExportAllSlots |
                                      QDBusConnection::ExportAllProperties);
    }

    bool isHostRegistered() const { return true; }

public slots:
    void RegisterStatusNotifierItem(const QString& service) { registered << service; }
};
