#include "qtclock.h"

#include <QTimer>

namespace {
class QtCountdown final : public Countdown {
public:
    explicit QtCountdown(std::function<void()> onTick) {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this, onTick = std::move(onTick)] {
            m_ticking = true;
            onTick();
            m_ticking = false;
        });
    }

    void start(int intervalMs) override {
        // Restarted by its own tick with the same interval: the repeating timer already counts
        // from this tick's due time, whereas restarting it from the moment the tick runs would
        // add the event loop's latency to every period.
        if (m_ticking && m_timer.isActive() && m_timer.interval() == intervalMs)
            return;
        m_timer.start(intervalMs);
    }

    void stop() override { m_timer.stop(); }

private:
    QTimer m_timer;
    bool m_ticking = false;
};
} // namespace

std::unique_ptr<Countdown> QtClock::createCountdown(std::function<void()> onTick) {
    return std::make_unique<QtCountdown>(std::move(onTick));
}
