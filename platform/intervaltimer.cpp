#include "platform/intervaltimer.h"

IntervalTimer::IntervalTimer(Clock& clock, QObject* parent, Timing timing)
    : QObject(parent), m_countdown(clock.createCountdown([this] { emit Timer(); }, timing)) {}

IntervalTimer::~IntervalTimer() = default;

void IntervalTimer::setInterval(int ms) {
    m_interval = ms;
    restart();
}

void IntervalTimer::setEnabled(bool enabled) {
    m_enabled = enabled;
    restart();
}

void IntervalTimer::restart() {
    if (m_enabled && m_interval > 0)
        m_countdown->restart(m_interval);
    else
        m_countdown->cancel();
}
