#pragma once

#include "lockkeys/lockkey.h"

#include <QObject>

#include <array>
#include <memory>
#include <optional>

class Clock;
class Countdown;
class Notifications;

// Announces a lock change made by anything but the program itself, in one desktop notification
// that takes the place of the last one ("Caps Lock on"). The program's own toggles are told to
// it as they are sent; since one shows in the lock states only at a later poll, each is owed
// until a change of that lock pays it, or until a second has passed without one.
class LockAnnouncer : public QObject {
    Q_OBJECT

public:
    LockAnnouncer(Notifications& notifications, Clock& clock, QObject* parent = nullptr);
    ~LockAnnouncer() override;

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled) { m_enabled = enabled; }

    // The program has just sent a press of `key`.
    void ownPress(LockKey key);
    // The polled lock states, whenever they change; the first are taken as they are found.
    void lockStatesChanged(const LockStates& locks);

private:
    Notifications& m_notifications;
    bool m_enabled = false;
    std::optional<LockStates> m_seen;
    LockStates m_owed{};
    std::array<std::unique_ptr<Countdown>, 3> m_patience;
    quint32 m_lastId = 0;
};
