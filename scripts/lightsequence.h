#pragma once

#include "scripts/lockchoice.h"

#include <QList>

// One picture on the LEDs: the driven keys lit as `lit` says, for `ms` milliseconds.
struct LightStep {
    LockStates lit{};
    int ms = 0;

    friend bool operator==(const LightStep&, const LightStep&) = default;
};

// Pictures shown one after the other on the keys it drives; the others are left alone.
struct LightSequence {
    QList<LightStep> steps;
    LockStates driven{true, true, true};
    int rounds = 1; // how many times the steps are shown; 0: again and again until stopped
};

// `leds` lit for `ms` then dark for `ms`, `count` times; for ever when count is 0.
LightSequence blinkSequence(const LockStates& leds, int ms, int count);
