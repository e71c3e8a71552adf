#pragma once

// The interval before "Speedup"'s n-th tick (from 1), in ms: one pass of three ticks at each of
// 700, 600, 500, 400, 300 and 200 ms, then eight passes at 100 ms; 42 ticks, and again.
constexpr int speedupInterval(int n) {
    const int inCycle = (n - 1) % 42;
    return inCycle < 18 ? 700 - 100 * (inCycle / 3) : 100;
}
