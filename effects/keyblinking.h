#pragma once

#include "lockkeys/lockkey.h"

#include <QObject>

#include <array>

// A per-key slider: the interval at which its key toggles, from its fastest to its slowest end,
// and the value it starts with and every stop puts back.
inline constexpr int BlinkSpeedFastest = 100;
inline constexpr int BlinkSpeedSlowest = 5000;
inline constexpr int DefaultBlinkSpeed = 1000;

class ControlStates;
class IntervalTimer;
class Keyboard;
class SpeedSlider;

// Per-key blinking: each lock key has a slider and a timer of its own, and a completed change
// of the slider makes the timer toggle that key every slider value milliseconds. Focusing or
// moving any of the three sliders locks the effect controls.
class KeyBlinking : public QObject {
    Q_OBJECT

public:
    // Sliders and timers in the key order Num, Caps, Scroll.
    KeyBlinking(Keyboard& keyboard, ControlStates& controls, std::array<SpeedSlider*, 3> sliders,
                std::array<IntervalTimer*, 3> timers, QObject* parent = nullptr);

    // Sets ScrollSpeed, CapsSpeed and NumSpeed back to 1000, in that order; a slider whose
    // value changes runs its change handler.
    void setDefaultSpeeds();
    // Disables SCROLLtime, CAPStime and NUMtime, in that order.
    void stopBlinking();

private:
    // The handlers of NumSpeed and NUMtime, CapsSpeed and CAPStime, ScrollSpeed and SCROLLtime:
    // one for the three keys, told which key it runs for.
    void Speed_GotFocus(LockKey key);
    void Speed_Change(LockKey key);
    void time_Timer(LockKey key);

    SpeedSlider& slider(LockKey key) const { return *m_sliders[static_cast<int>(key)]; }
    IntervalTimer& timer(LockKey key) const { return *m_timers[static_cast<int>(key)]; }

    Keyboard& m_keyboard;
    ControlStates& m_controls;
    std::array<SpeedSlider*, 3> m_sliders;
    std::array<IntervalTimer*, 3> m_timers;
};
