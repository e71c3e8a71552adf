#pragma once

#include "platform/clock.h"

// Countdowns on the thread that runs the event loop: exact ones on kernel timers that it watches,
// loose ones on its own timers.
class QtClock final : public Clock {
public:
    std::unique_ptr<Countdown> createCountdown(std::function<void()> onTick,
                                               Timing timing) override;
};
