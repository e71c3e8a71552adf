#include "scripts/lightsequence.h"

LightSequence blinkSequence(const LockStates& leds, int ms, int count) {
    LightSequence sequence;
    sequence.driven = leds;
    sequence.repeats = count == 0;
    for (int i = 0; i < std::max(count, 1); ++i)
        sequence.steps << LightStep{leds, ms} << LightStep{{}, ms};
    return sequence;
}
