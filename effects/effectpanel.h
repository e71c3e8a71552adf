#pragma once

#include "effects/effectpatterns.h"

#include <array>

class IntervalTimer;
class QComboBox;
class QPushButton;
class SpeedSlider;

// The controls of the effect panel that the effects run from. The window owns them all.
struct EffectPanel {
    QComboBox* Combo1; // the effect list, in the order of Effect
    SpeedSlider* EffectSpeed;
    QPushButton* StartEff;
    QPushButton* Stop;                              // "Stop all (RESET)"
    std::array<IntervalTimer*, EffectCount> timers; // one per effect, in the order of Effect
};
