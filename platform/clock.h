#pragma once

#include <functional>
#include <memory>

// A repeating countdown that calls its tick function each time an interval has elapsed.
class Countdown {
public:
    virtual ~Countdown() = default;

    // Starts counting down from now, discarding any countdown in progress; cancel() ends it.
    virtual void restart(int intervalMs) = 0;
    virtual void cancel() = 0;
};

// How closely a countdown keeps to its due times.
enum class Timing {
    Exact, // within microseconds: the times a user sees the LEDs change
    Loose, // up to a millisecond late, for less work at each tick: polls
};

// Where countdowns come from: the event loop's timers in the program, virtual time in tests.
class Clock {
public:
    virtual ~Clock() = default;

    virtual std::unique_ptr<Countdown> createCountdown(std::function<void()> onTick,
                                                       Timing timing) = 0;
};
