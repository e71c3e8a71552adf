#pragma once

#include "scripts/scriptcalls.h"

#include <QObject>

// What scripts ask of a running Tintaro, whether it shows its window or runs without one.
class LedService : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // Why the LEDs are out of reach; empty when they can be driven.
    virtual QString noKeyboard() const = 0;

    // Each start ends what ran before.
    virtual void startEffect(const EffectCall& call) = 0;
    // `what` names it while it runs: "blink", "pattern", "morse".
    virtual void playLights(const LightSequence& sequence, const QString& what) = 0;
    virtual void setLockStates(const LockChoice& choice) = 0;
    // Ends whatever runs.
    virtual void stop() = 0;

    virtual LockStates lockStates() const = 0;
    // "" when nothing runs, else what does: "effect Walk", "blink", "pattern", "morse".
    virtual QString running() const = 0;

signals:
    // The lock states as read for the display, every 50 ms: whoever follows them needs no read
    // of their own.
    void polled(const LockStates& locks);
    // Stop() was called: what else blinks on the program's behalf stops too.
    void stopped();
};
