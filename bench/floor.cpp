// The floor Tintaro is measured against: the least a program can do for the same light. It reads
// the indicators every 50 ms and, but when idle, toggles the lock keys through XTEST on an exact
// schedule: all three every 100 ms ("all") or one at a time on Speedup's ("speedup").
// Usage: bench_floor idle|all|speedup   (runs until killed)

#include "bench/speedupschedule.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <time.h>

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace {
constexpr std::int64_t Ms = 1'000'000; // in ns

std::int64_t now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return std::int64_t(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

void sleepUntil(std::int64_t ns) {
    const timespec t{time_t(ns / 1'000'000'000), long(ns % 1'000'000'000)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &t, nullptr) != 0) {
    }
}
} // namespace

int main(int argc, char* argv[]) {
    const std::string_view mode = argc > 1 ? argv[1] : "";
    Display* display = XOpenDisplay(nullptr);
    if (!display || (mode != "idle" && mode != "all" && mode != "speedup"))
        return 1;
    const KeyCode keys[] = {XKeysymToKeycode(display, XK_Num_Lock),
                            XKeysymToKeycode(display, XK_Caps_Lock),
                            XKeysymToKeycode(display, XK_Scroll_Lock)};
    const std::int64_t start = now();
    std::int64_t nextRead = start + 50 * Ms;
    std::int64_t nextTick = mode == "idle" ? INT64_MAX : start + (mode == "all" ? 100 : 700) * Ms;
    for (int tick = 1;;) {
        sleepUntil(std::min(nextRead, nextTick));
        if (nextTick <= nextRead) {
            for (int k = 0; k < 3; ++k) {
                if (mode == "speedup" && k != (tick - 1) % 3)
                    continue;
                XTestFakeKeyEvent(display, keys[k], True, CurrentTime);
                XTestFakeKeyEvent(display, keys[k], False, CurrentTime);
            }
            XFlush(display);
            ++tick;
            nextTick += (mode == "all" ? 100 : speedupInterval(tick)) * Ms;
        } else {
            unsigned state = 0;
            XkbGetIndicatorState(display, XkbUseCoreKbd, &state);
            nextRead += 50 * Ms;
        }
    }
}
