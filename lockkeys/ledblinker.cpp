#include "lockkeys/ledblinker.h"

#include "lockkeys/modsync.h"
#include "platform/intervaltimer.h"

ToggleBlinker::ToggleBlinker(Keyboard& keyboard, Clock& clock)
    : m_keyboard(keyboard), m_timer(std::make_unique<IntervalTimer>(clock)) {
    QObject::connect(m_timer.get(), &IntervalTimer::Timer, [this] { toggle(); });
}

ToggleBlinker::~ToggleBlinker() {
    stop();
}

void ToggleBlinker::start(LockKey key, int periodMs) {
    stop();
    m_key = key;
    m_timer->setInterval(periodMs);
    m_timer->setEnabled(true);
    toggle();
}

void ToggleBlinker::stop() {
    m_timer->setEnabled(false);
    if (m_flipped)
        toggle();
}

bool ToggleBlinker::isBlinking() const {
    return m_timer->isEnabled();
}

void ToggleBlinker::toggle() {
    modSync::Toggle(m_keyboard, m_key);
    m_flipped = !m_flipped;
}
