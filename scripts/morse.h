#pragma once

#include "scripts/lightsequence.h"

#include <QString>

inline constexpr int DefaultMorseUnit = 120;
inline constexpr int MorseUnitShortest = 10;
inline constexpr int MorseUnitLongest = 5000;

struct MorseResult {
    LightSequence sequence;
    QString error;  // empty when every character has a code
    int column = 0; // 1-based, of the first character without one
};

// International Morse code on one LED: a dot is lit for one unit, a dash for three; the LED is
// dark for one unit between the elements of a character, three between characters and seven
// between words. Letters, digits and the common punctuation, in any case; spaces part words.
MorseResult morseSequence(const QString& text, LockKey led, int unitMs);
