#include "platform/virtualclock.h"

#include <algorithm>

class VirtualClock::VirtualCountdown final : public Countdown {
public:
    VirtualCountdown(VirtualClock& clock, std::function<void()> onTick)
        : clock(&clock), onTick(std::move(onTick)) {
        clock.m_countdowns.push_back(this);
    }
    ~VirtualCountdown() override {
        if (clock)
            std::erase(clock->m_countdowns, this);
    }
    void restart(int intervalMs) override {
        interval = std::max(intervalMs, 0);
        arm(clock->m_now + interval);
    }
    void cancel() override { running = false; }

    void arm(std::int64_t at) {
        running = true;
        due = at;
        arming = ++clock->m_armings;
    }

    VirtualClock* clock;
    std::function<void()> onTick;
    bool running = false;
    std::int64_t interval = 0;
    std::int64_t due = 0;
    std::uint64_t arming = 0;
};

VirtualClock::~VirtualClock() {
    for (VirtualCountdown* countdown : m_countdowns)
        countdown->clock = nullptr;
}

std::unique_ptr<Countdown> VirtualClock::createCountdown(std::function<void()> onTick, Timing) {
    return std::make_unique<VirtualCountdown>(*this, std::move(onTick));
}

VirtualClock::VirtualCountdown* VirtualClock::nextDue(std::int64_t until) const {
    VirtualCountdown* next = nullptr;
    for (VirtualCountdown* c : m_countdowns) {
        if (!c->running || c->due > until)
            continue;
        if (!next || c->due < next->due || (c->due == next->due && c->arming < next->arming))
            next = c;
    }
    return next;
}

void VirtualClock::advance(std::int64_t ms) {
    const std::int64_t until = m_now + ms;
    while (VirtualCountdown* c = nextDue(until)) {
        m_now = c->due;
        // A zero interval would tick forever at one instant; like a real timer it waits 1 ms.
        c->arm(c->due + std::max<std::int64_t>(c->interval, 1));
        c->onTick();
    }
    m_now = until;
}
