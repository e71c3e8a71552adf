#pragma once

#include <QObject>

class IntervalTimer;
class Keyboard;

// Returns the lock LEDs to dark: Reset arms a one-shot that, 100 ms after the last call,
// toggles off every lock key that is lit at that moment.
class LockReset : public QObject {
    Q_OBJECT

public:
    LockReset(Keyboard& keyboard, IntervalTimer& resetime, QObject* parent = nullptr);

    void Reset();

    // Toggles off, at once, every lit lock key (modSync::TurnOffLitLocks).
    void turnOffLitLocks();

private:
    void resetime_Timer();

    Keyboard& m_keyboard;
    IntervalTimer& m_resetime;
};
