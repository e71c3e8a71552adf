#pragma once

#include "lockkeys/lockkey.h"

#include <QObject>

#include <array>
#include <optional>

class IntervalTimer;
class Keyboard;
class QLabel;
class Taste;

// The three on-screen lock keys: their lamps mirror the real lock LEDs every 50 ms, and
// pressing (Num) or clicking (Caps, Scroll) one toggles its lock key. A lock that the keyboard
// cannot show on this desktop has its key greyed, with a tooltip, and is named by the notice.
class LockDisplay : public QObject {
    Q_OBJECT

public:
    LockDisplay(Keyboard& keyboard, IntervalTimer& Timer1, std::array<Taste*, 3> keys,
                QLabel& notice, QObject* parent = nullptr);

    void Timer1_Timer();
    void Taste1_MouseDown();
    void Taste2_Click();
    void Taste3_Click();

signals:
    // At every poll, with the lock states it read.
    void polled(const LockStates& locks);
    // At the first poll, and at every poll that finds a lock state changed.
    void lockStatesChanged(const LockStates& locks);

private:
    void showReach();

    Keyboard& m_keyboard;
    std::array<Taste*, 3> m_keys;
    std::optional<LockStates> m_shown;
    LockStates m_reach{true, true, true}; // which locks the keyboard can show, as shown
    QLabel& m_notice;
};
