#pragma once

#include "scripts/lightsequence.h"

#include <QString>

// Limits of the pattern language.
inline constexpr int PatternStepShortest = 10;
inline constexpr int PatternStepLongest = 60000;
inline constexpr int PatternRepeatMost = 1000;
// A pattern unrolled into more steps than this is refused rather than filling the memory.
inline constexpr int PatternStepsMost = 100000;

struct PatternResult {
    LightSequence sequence;
    QString error;  // empty when the pattern is good
    int column = 0; // 1-based, where the error was found
};

// Reads a pattern: steps `LEDS:MS` separated by spaces, LEDS being any of n, c, s (each at most
// once, any order, any case) or - for none, lit for MS milliseconds with the others dark;
// `(...)xN` repeats a group N times, and groups nest.
PatternResult parsePattern(const QString& text);
