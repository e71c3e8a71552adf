#pragma once

#include "lockkeys/lockkey.h"

#include <memory>

class Clock;
class IntervalTimer;
class Keyboard;

// Blinks one lock LED until told to stop.
class LedBlinker {
public:
    virtual ~LedBlinker() = default;

    // Toggles `key` every `periodMs`; a blink already running (of any key) stops first.
    virtual void start(LockKey key, int periodMs) = 0;
    // Stops blinking and leaves the lock as it was found at start.
    virtual void stop() = 0;
    virtual bool isBlinking() const = 0;
};

// Blinks by toggling the lock key on an interval timer; counts its own toggles, so that stopping
// toggles once more when their number is odd, whatever the LED shows by then.
class ToggleBlinker final : public LedBlinker {
public:
    ToggleBlinker(Keyboard& keyboard, Clock& clock);
    ~ToggleBlinker() override;

    void start(LockKey key, int periodMs) override;
    void stop() override;
    bool isBlinking() const override;

private:
    void toggle();

    Keyboard& m_keyboard;
    std::unique_ptr<IntervalTimer> m_timer;
    LockKey m_key = LockKey::Scroll;
    bool m_flipped = false;
};
