#include "effects/keyblinking.h"

#include "effects/controlstates.h"
#include "keycontrol/speedslider.h"
#include "lockkeys/modsync.h"
#include "platform/intervaltimer.h"

namespace {
// The stop handles the keys from Scroll back to Num.
constexpr std::array<LockKey, 3> StopOrder{LockKey::Scroll, LockKey::Caps, LockKey::Num};
} // namespace

KeyBlinking::KeyBlinking(Keyboard& keyboard, ControlStates& controls,
                         std::array<SpeedSlider*, 3> sliders, std::array<IntervalTimer*, 3> timers,
                         QObject* parent)
    : QObject(parent), m_keyboard(keyboard), m_controls(controls), m_sliders(sliders),
      m_timers(timers) {
    for (LockKey key : AllLockKeys) {
        connect(&slider(key), &SpeedSlider::GotFocus, this, [this, key] { Speed_GotFocus(key); });
        connect(&slider(key), &SpeedSlider::Change, this, [this, key] { Speed_Change(key); });
        connect(&timer(key), &IntervalTimer::Timer, this, [this, key] { time_Timer(key); });
    }
}

void KeyBlinking::setDefaultSpeeds() {
    for (LockKey key : StopOrder)
        slider(key).setValue(DefaultBlinkSpeed);
}

void KeyBlinking::stopBlinking() {
    for (LockKey key : StopOrder)
        timer(key).setEnabled(false);
}

// Focus alone locks the effect controls; nothing starts blinking.
void KeyBlinking::Speed_GotFocus(LockKey) {
    m_controls.Disable();
    m_controls.EnableSpeeds();
}

// Disabling first restarts the countdown: the first toggle comes one full new interval later.
void KeyBlinking::Speed_Change(LockKey key) {
    m_controls.Disable();
    m_controls.EnableSpeeds();
    timer(key).setEnabled(false);
    timer(key).setInterval(slider(key).value());
    timer(key).setEnabled(true);
}

void KeyBlinking::time_Timer(LockKey key) {
    modSync::SendKeyString(m_keyboard, info(key).toggleString);
}
