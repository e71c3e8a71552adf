#pragma once

#include "lockkeys/lockkey.h"
#include "platform/notificationmonitor.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>

class Keyboard;
class LightPlayer;

// Which notifications make an LED blink.
struct NotificationRule {
    LockKey led = LockKey::Scroll;
    QStringList apps; // application names or desktop entries, any letter case; empty: every one
    int urgency = 0;  // the least urgency that counts: 0 low, 1 normal, 2 critical

    bool matches(const NotifyCall& call) const;
};

// Blinks the rule's LED on `player` while a notification that matches it is open, and stops,
// leaving the LED as it was found, when the last of them is closed. A notification is known by
// the id the service answers its Notify call with, and is open until NotificationClosed names
// that id or another notification takes its place.
class NotificationFollower : public QObject {
    Q_OBJECT

public:
    static constexpr int BlinkPeriodMs = 500;

    NotificationFollower(const NotificationRule& rule, LightPlayer& player,
                         const Keyboard& keyboard, QObject* parent = nullptr);

    // Takes what `monitor` reads from the bus.
    void listenTo(const NotificationMonitor& monitor);

    void notifyCalled(const NotifyCall& call);
    void notifyAnswered(const QString& caller, quint32 serial, quint32 id);
    void notificationClosed(quint32 id);

    // Stops blinking and forgets every open notification.
    void stop();

private:
    struct Pending {
        bool matches;
        quint32 replacesId;
    };

    void update();

    NotificationRule m_rule;
    LightPlayer& m_player;
    const Keyboard& m_keyboard;
    QHash<QPair<QString, quint32>, Pending> m_pending;
    QSet<quint32> m_open;
};
