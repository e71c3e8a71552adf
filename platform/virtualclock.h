#pragma once

#include "platform/clock.h"

#include <cstdint>
#include <vector>

// Virtual time for tests: nothing ticks until advance() moves the clock on, and then every
// tick that falls due is delivered in order. Countdowns due at the same moment tick in the
// order in which they were last armed.
class VirtualClock final : public Clock {
public:
    ~VirtualClock() override;

    // Every countdown exact.
    std::unique_ptr<Countdown> createCountdown(std::function<void()> onTick,
                                               Timing timing) override;

    void advance(std::int64_t ms);
    std::int64_t now() const { return m_now; }

private:
    class VirtualCountdown;
    friend class VirtualCountdown;

    VirtualCountdown* nextDue(std::int64_t until) const;

    std::vector<VirtualCountdown*> m_countdowns;
    std::int64_t m_now = 0;
    std::uint64_t m_armings = 0;
};
