#include "platform/qtclock.h"

#include <QSocketNotifier>
#include <QTimer>

#include <sys/timerfd.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace {

constexpr std::int64_t NsPerMs = 1'000'000;
constexpr std::int64_t NsPerS = 1'000'000'000;

std::int64_t now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return std::int64_t(t.tv_sec) * NsPerS + t.tv_nsec;
}

timespec toTimespec(std::int64_t ns) {
    return {time_t(ns / NsPerS), long(ns % NsPerS)};
}

// Counts down on a kernel timer that the event loop watches. The event loop's own timers wait
// in whole milliseconds, so that each tick comes up to a millisecond late, a different amount
// each time; this one ticks within microseconds of its due time.
class QtCountdown final : public Countdown {
public:
    explicit QtCountdown(std::function<void()> onTick)
        : m_timer(timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC)),
          m_expiry(m_timer, QSocketNotifier::Read), m_onTick(std::move(onTick)) {
        if (m_timer < 0)
            qFatal("tintaro: cannot make a timer: %s", std::strerror(errno));
        m_expiry.setEnabled(false);
        QObject::connect(&m_expiry, &QSocketNotifier::activated, [this] { tick(); });
    }

    ~QtCountdown() override {
        m_expiry.setEnabled(false);
        close(m_timer);
    }

    void restart(int intervalMs) override {
        const std::int64_t interval = std::max(intervalMs, 1) * NsPerMs;
        // Restarted by its own tick, it counts from the tick's due time: counting from the
        // moment the tick runs would add the event loop's latency to the period. With the same
        // interval it simply goes on.
        if (m_ticking && m_expiry.isEnabled() && interval == m_interval)
            return;
        m_interval = interval;
        m_next = (m_ticking ? m_due : now()) + interval;
        const itimerspec period{toTimespec(interval), toTimespec(m_next)};
        timerfd_settime(m_timer, TFD_TIMER_ABSTIME, &period, nullptr);
        m_expiry.setEnabled(true);
    }

    void cancel() override {
        const itimerspec off{};
        timerfd_settime(m_timer, 0, &off, nullptr);
        m_expiry.setEnabled(false);
    }

private:
    void tick() {
        std::uint64_t expired = 0;
        if (read(m_timer, &expired, sizeof expired) != sizeof expired || expired == 0)
            return;
        // Periods missed while the event loop was busy make one tick, as with Qt's timers.
        m_due = m_next + std::int64_t(expired - 1) * m_interval;
        m_next = m_due + m_interval;
        m_ticking = true;
        m_onTick();
        m_ticking = false;
    }

    const int m_timer;
    QSocketNotifier m_expiry;
    std::function<void()> m_onTick;
    bool m_ticking = false;
    std::int64_t m_interval = 0;
    std::int64_t m_due = 0;  // of the latest tick, in ns of CLOCK_MONOTONIC
    std::int64_t m_next = 0; // of the next one
};

// Counts down on the event loop's own timers: a tick comes up to a millisecond late, but costs
// no kernel timer to watch and read.
class LooseCountdown final : public Countdown {
public:
    explicit LooseCountdown(std::function<void()> onTick) : m_onTick(std::move(onTick)) {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            m_ticking = true;
            m_onTick();
            m_ticking = false;
        });
    }

    void restart(int intervalMs) override {
        const int interval = std::max(intervalMs, 1);
        // As the exact countdown: restarted by its own tick with the same interval, it goes on.
        if (m_ticking && m_timer.isActive() && interval == m_timer.interval())
            return;
        m_timer.start(interval);
    }

    void cancel() override { m_timer.stop(); }

private:
    QTimer m_timer;
    std::function<void()> m_onTick;
    bool m_ticking = false;
};

} // namespace

std::unique_ptr<Countdown> QtClock::createCountdown(std::function<void()> onTick, Timing timing) {
    if (timing == Timing::Loose)
        return std::make_unique<LooseCountdown>(std::move(onTick));
    return std::make_unique<QtCountdown>(std::move(onTick));
}
