#include "scripts/lightsequence.h"

LightSequence blinkSequence(const LockStates& leds, int ms, int count) {
    return {{LightStep{leds, ms}, LightStep{{}, ms}}, leds, count};
}
