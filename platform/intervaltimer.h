#pragma once

#include "platform/clock.h"

#include <QObject>

#include <memory>

// A window's interval timer: ticks every interval while enabled. Enabling it, or setting its
// interval, restarts the countdown; a disabled timer, or one with interval 0, never ticks.
class IntervalTimer : public QObject {
    Q_OBJECT

public:
    explicit IntervalTimer(Clock& clock, QObject* parent = nullptr, Timing timing = Timing::Exact);
    ~IntervalTimer() override;

    int interval() const { return m_interval; }
    void setInterval(int ms);

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);

signals:
    void Timer();

private:
    void restart();

    std::unique_ptr<Countdown> m_countdown;
    int m_interval = 0;
    bool m_enabled = false;
};
