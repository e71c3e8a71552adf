#pragma once

#include "platform/clock.h"

// Countdowns on kernel timers that the event loop watches, ticking on the thread that runs it.
class QtClock final : public Clock {
public:
    std::unique_ptr<Countdown> createCountdown(std::function<void()> onTick) override;
};
