#pragma once

// Where the running effect stands in its pattern. The four counters are shared by all eight
// effects; they are 0 when the window is created, and only the stop sets them to 0 again, so
// every effect starts from the beginning of its pattern.
struct EffectState {
    int EffStep = 0;       // the current step of the pattern
    int EffStepTicks = 0;  // ticks spent in the current step; in Speedup, the passes at 100 ms
    int EffCycleTicks = 0; // ticks since the cycle began
    int EffSweeps = 0;     // backward sweeps completed in the cycle (Knight Rider)
};
