#include "qtclock.h"

#include <QTimer>

namespace {
class QtCountdown final : public Countdown {
public:
    explicit QtCountdown(std::function<void()> onTick)
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, std::move(onTick));
    }
    void start(int intervalMs) override { m_timer.start(intervalMs); }
    void stop() override { m_timer.stop(); }

private:
    QTimer m_timer;
};
} // namespace

std::unique_ptr<Countdown> QtClock::createCountdown(std::function<void()> onTick)
{
    return std::make_unique<QtCountdown>(std::move(onTick));
}
