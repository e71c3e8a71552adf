#pragma once

#include "clock.h"

// Countdowns on precise QTimers, ticking on the thread that runs the event loop.
class QtClock final : public Clock {
public:
    std::unique_ptr<Countdown> createCountdown(std::function<void()> onTick) override;
};
