// Tintaro against two floors, measured from outside on the same X server, one after the other:
// the X floor (bench_floor: the least a program can do for the same light) and the Qt floor
// (bench_qtfloor: the plainest Qt program doing what "All" needs). CPU time while idle and while
// an effect runs, how evenly the effects tick, peak memory, and the time from start to window, in
// rounds that alternate the order of the programs, since the machine's load drifts; each figure
// is the median of the rounds, each ratio the median of the rounds' ratios with their spread.
// This process is an X client of its own: it notes when each change of the keyboard indicators
// arrives and when Tintaro's window is mapped, and it drives Tintaro through XTEST as a user
// would, with clicks and keys.
// Usage: bench_tintaro [seconds per figure [rounds [program]]]   (default 10 s, 3 rounds and the
// build's Tintaro; needs DISPLAY)

#include "bench/speedupschedule.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <fcntl.h>
#include <linux/perf_event.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr std::int64_t Ms = 1'000'000; // in ns
// Indicator changes closer together than this belong to one tick (a tick may toggle all three).
constexpr std::int64_t SameTick = 20 * Ms;

std::int64_t now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return std::int64_t(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

// Thrown, so that a program started for measuring is ended and the keyboard left as found.
[[noreturn]] void fail(const char* why) {
    throw std::runtime_error(why);
}

// A program started for measuring. Its CPU time is read from a task clock counter that every
// thread it starts inherits, exact to the nanosecond (/proc's figures count in 10 ms steps).
class Program {
public:
    explicit Program(std::vector<const char*> argv) {
        int go[2];
        if (pipe2(go, O_CLOEXEC) != 0)
            fail("no pipe");
        argv.push_back(nullptr);
        m_pid = fork();
        if (m_pid == 0) {
            close(go[1]);
            char c;
            (void)!read(go[0], &c, 1); // until the counter is attached
            execv(argv[0], const_cast<char* const*>(argv.data()));
            _exit(127);
        }
        perf_event_attr attr{};
        attr.size = sizeof attr;
        attr.type = PERF_TYPE_SOFTWARE;
        attr.config = PERF_COUNT_SW_TASK_CLOCK;
        attr.inherit = 1;
        attr.exclude_kernel = 1; // allowed unprivileged; the task clock counts kernel time anyway
        attr.exclude_hv = 1;
        m_counter = int(syscall(SYS_perf_event_open, &attr, m_pid, -1, -1, PERF_FLAG_FD_CLOEXEC));
        if (m_counter < 0) {
            kill(m_pid, SIGKILL);
            fail("perf_event_open failed (kernel.perf_event_paranoid above 2?)");
        }
        startedAt = now();
        close(go[0]);
        close(go[1]);
    }

    ~Program() {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        close(m_counter);
    }

    std::int64_t cpuNs() const {
        std::uint64_t ns = 0;
        return read(m_counter, &ns, sizeof ns) == sizeof ns ? std::int64_t(ns) : 0;
    }

    double peakRssMb() const {
        std::ifstream status("/proc/" + std::to_string(m_pid) + "/status");
        for (std::string line; std::getline(status, line);)
            if (line.starts_with("VmHWM:"))
                return std::atof(line.c_str() + 6) / 1024;
        return NAN;
    }

    void signal(int number) const { kill(m_pid, number); }

    // Whether it ended by itself within `ms`.
    bool waitForExit(int ms) {
        for (int waited = 0; waited < ms; waited += 10) {
            if (waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
                m_pid = 0;
                return true;
            }
            usleep(10'000);
        }
        return false;
    }

    std::int64_t startedAt = 0;

private:
    pid_t m_pid = 0;
    int m_counter = -1;
};

// The watching and driving X client.
class Observer {
public:
    Observer() : d(XOpenDisplay(nullptr)) {
        int opcode, error, major = XkbMajorVersion, minor = XkbMinorVersion;
        if (!d || !XkbQueryExtension(d, &opcode, &m_xkbEvent, &error, &major, &minor))
            fail("no X display with XKEYBOARD (is DISPLAY set?)");
        fcntl(ConnectionNumber(d), F_SETFD, FD_CLOEXEC);
        XkbSelectEvents(d, XkbUseCoreKbd, XkbIndicatorStateNotifyMask, XkbIndicatorStateNotifyMask);
        XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
        m_boundScrollLock = bindScrollLock();
        XSync(d, False);
    }
    ~Observer() {
        if (m_boundScrollLock)
            unbindScrollLock();
        XCloseDisplay(d);
    }

    // Handles the server's events until the time `until`, noting indicator changes and windows.
    void runUntil(std::int64_t until) {
        for (;;) {
            while (XPending(d)) {
                XEvent event;
                XNextEvent(d, &event);
                note(event, now());
            }
            const std::int64_t left = until - now();
            if (left <= 0)
                return;
            pollfd fd{ConnectionNumber(d), POLLIN, 0};
            const timespec timeout{time_t(left / 1'000'000'000), long(left % 1'000'000'000)};
            ppoll(&fd, 1, &timeout, nullptr);
        }
    }

    void runFor(int ms) { runUntil(now() + ms * Ms); }

    // The first tick of each burst of indicator changes in [from, to).
    std::vector<std::int64_t> ticks(std::int64_t from, std::int64_t to) const {
        std::vector<std::int64_t> ticks;
        for (std::int64_t t : m_changes)
            if (t >= from && t < to && (ticks.empty() || t - ticks.back() > SameTick))
                ticks.push_back(t);
        return ticks;
    }

    // The first top-level window mapped with a title that starts with `title`, and when; waits
    // until `deadline` for it.
    Window waitForWindow(const char* title, std::int64_t deadline) {
        m_title = title;
        m_window = 0; // a window of an earlier round is gone
        m_mappedAt = 0;
        while (!m_window && now() < deadline)
            runFor(5);
        return m_window;
    }
    std::int64_t mappedAt() const { return m_mappedAt; }

    // A left click at a place on the screen.
    void click(int x, int y) {
        XTestFakeMotionEvent(d, -1, x, y, CurrentTime);
        XTestFakeButtonEvent(d, 1, True, CurrentTime);
        XTestFakeButtonEvent(d, 1, False, CurrentTime);
        XFlush(d);
        runFor(150);
    }

    void type(KeySym key) {
        const KeyCode code = XKeysymToKeycode(d, key);
        XTestFakeKeyEvent(d, code, True, CurrentTime);
        XTestFakeKeyEvent(d, code, False, CurrentTime);
        XFlush(d);
        runFor(100);
    }

    // The point `x`, `y` of the window's client area: its bottom 466 x 218 pixels, below the menu.
    std::pair<int, int> inClientArea(Window window, int x, int y) {
        XWindowAttributes a;
        XGetWindowAttributes(d, window, &a);
        return {a.x + x, a.y + a.height - 218 + y};
    }

    // Asks the window to close, as its close box does.
    void close(Window window) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = long(XInternAtom(d, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(d, window, False, NoEventMask, &event);
        XFlush(d);
    }

private:
    void note(const XEvent& event, std::int64_t at) {
        if (event.type == m_xkbEvent &&
            reinterpret_cast<const XkbAnyEvent&>(event).xkb_type == XkbIndicatorStateNotify) {
            m_changes.push_back(at);
        } else if (event.type == MapNotify && !m_window && m_title) {
            char* name = nullptr;
            if (XFetchName(d, event.xmap.window, &name) && std::string(name).starts_with(m_title)) {
                m_window = event.xmap.window;
                m_mappedAt = at;
            }
            XFree(name);
        }
    }

    // A stock X server binds no modifier to Scroll Lock, so that its indicator never changes;
    // bound here, on the free row Mod3, it changes for either program alike. Where the display
    // binds it already, that is left alone: returns whether it was bound here.
    bool bindScrollLock() {
        const KeyCode key = XKeysymToKeycode(d, XK_Scroll_Lock);
        XModifierKeymap* map = XGetModifierMapping(d);
        KeyCode* const end = map->modifiermap + 8 * map->max_keypermod;
        if (std::find(map->modifiermap, end, key) != end) {
            XFreeModifiermap(map);
            return false;
        }
        setModifierMapping(XInsertModifiermapEntry(map, key, Mod3MapIndex));
        return true;
    }

    // With no lock left on Mod3, which no key could undo any longer.
    void unbindScrollLock() {
        XkbLockModifiers(d, XkbUseCoreKbd, Mod3Mask, 0);
        setModifierMapping(XDeleteModifiermapEntry(
            XGetModifierMapping(d), XKeysymToKeycode(d, XK_Scroll_Lock), Mod3MapIndex));
    }

    // Takes `map`. The server refuses it while a modifier key is down (at a real display).
    void setModifierMapping(XModifierKeymap* map) {
        for (int tries = 0; tries < 40 && XSetModifierMapping(d, map) == MappingBusy; ++tries)
            usleep(50'000);
        XFreeModifiermap(map);
    }

    Display* d;
    bool m_boundScrollLock = false;
    int m_xkbEvent = 0;
    std::vector<std::int64_t> m_changes;
    const char* m_title = nullptr;
    Window m_window = 0;
    std::int64_t m_mappedAt = 0;
};

// How far the gaps between ticks stray from the intervals they should have, in ms.
struct Accuracy {
    double mean = NAN;
    double p99 = NAN;
    std::size_t ticks = 0;
};

// `expected(n)`: the interval before tick n, counted from 1 at ticks.front().
Accuracy accuracy(const std::vector<std::int64_t>& ticks, const std::function<int(int)>& expected) {
    std::vector<double> errors;
    for (std::size_t i = 1; i < ticks.size(); ++i)
        errors.push_back(std::abs(double(ticks[i] - ticks[i - 1]) / Ms - expected(int(i) + 1)));
    if (errors.empty())
        return {};
    std::sort(errors.begin(), errors.end());
    double sum = 0;
    for (double e : errors)
        sum += e;
    const std::size_t p99 = std::min(errors.size() - 1, std::size_t(double(errors.size()) * 0.99));
    return {sum / double(errors.size()), errors[p99], ticks.size()};
}

int every100(int) {
    return 100;
}

struct Results {
    double idleCpu = NAN, allCpu = NAN, speedupCpu = NAN; // % of one core
    double windowlessCpu = NAN; // a command without a window running "All" at 100 ms
    Accuracy all, speedup, windowless;
    double peakRssMb = NAN;
    double startMs = NAN;
};

// Watches from `from` to `to`: the program's share of one core, and the ticks seen.
double watch(Observer& observer, const Program& program, std::int64_t from, std::int64_t to) {
    observer.runUntil(from);
    const std::int64_t cpu = program.cpuNs();
    observer.runUntil(to);
    return 100.0 * double(program.cpuNs() - cpu) / double(to - from);
}

Results measureFloor(Observer& o, int seconds, int speedupSeconds) {
    Results r;
    for (const char* mode : {"idle", "all", "speedup"}) {
        Program floor({FLOOR_BINARY, mode});
        const std::string_view m = mode;
        // Speedup's first tick is 700 ms after the start and counts from it.
        const std::int64_t from = floor.startedAt + (m == "speedup" ? 0 : 500 * Ms);
        const std::int64_t to = from + (m == "speedup" ? speedupSeconds : seconds) * 1000 * Ms;
        const double cpu = watch(o, floor, from, to);
        if (m == "idle") {
            r.idleCpu = cpu;
        } else if (m == "all") {
            r.allCpu = r.windowlessCpu = cpu; // a command without a window has the same floor
            r.all = r.windowless = accuracy(o.ticks(from, to), every100);
        } else {
            r.speedupCpu = cpu;
            r.speedup = accuracy(o.ticks(from, to), speedupInterval);
        }
        r.peakRssMb = std::max(std::isnan(r.peakRssMb) ? 0 : r.peakRssMb, floor.peakRssMb());
    }
    return r;
}

// The Qt floor shows a window and does nothing else but what "All" needs.
Results measureQtFloor(Observer& o, int seconds) {
    Results r;
    for (const char* mode : {"idle", "all"}) {
        Program qtFloor({QTFLOOR_BINARY, mode});
        const std::int64_t from = qtFloor.startedAt + 1000 * Ms; // past Qt's start
        const std::int64_t to = from + seconds * 1000 * Ms;
        const double cpu = watch(o, qtFloor, from, to);
        if (std::string_view(mode) == "idle") {
            r.idleCpu = cpu;
        } else {
            r.allCpu = cpu;
            r.all = accuracy(o.ticks(from, to), every100);
        }
        r.peakRssMb = std::max(std::isnan(r.peakRssMb) ? 0 : r.peakRssMb, qtFloor.peakRssMb());
    }
    return r;
}

Results measureTintaro(Observer& o, const char* program, int seconds, int speedupSeconds) {
    Results r;
    Program tintaro({program});
    const Window window = o.waitForWindow("Tintaro", tintaro.startedAt + 10'000 * Ms);
    if (!window)
        fail("Tintaro's window did not appear");
    r.startMs = double(o.mappedAt() - tintaro.startedAt) / Ms;
    o.runFor(1000); // past the start-up reset

    std::int64_t from = now();
    r.idleCpu = watch(o, tintaro, from, from + seconds * 1000 * Ms);

    // Controls by their place in the effect panel, which lies at (8, 8) in the client area.
    const auto at = [&](int x, int y) {
        const auto [sx, sy] = o.inClientArea(window, 8 + x, 8 + y);
        o.click(sx, sy);
    };
    const auto effectSpeed = [&] { at(350, 64); };
    const auto combo1 = [&] { at(376, 34); };
    const auto startEff = [&] { at(352, 116); };
    const auto stop = [&] { at(352, 148); };

    // "All" is selected at start. A click on the speed slider gives it the focus; End moves it to
    // its fastest end, 100 ms.
    effectSpeed();
    o.type(XK_End);
    startEff();
    from = now() + 500 * Ms;
    r.allCpu = watch(o, tintaro, from, from + seconds * 1000 * Ms);
    r.all = accuracy(o.ticks(from, from + seconds * 1000 * Ms), every100);

    stop();
    o.runFor(500); // past the reset that darkens the LEDs
    combo1();      // opens the list
    for (int i = 0; i < 5; ++i)
        o.type(XK_Down);
    o.type(XK_Return); // "Speedup"
    startEff();
    // The click has been handled by now; the first tick comes 700 ms after it.
    from = now();
    const std::int64_t to = from + speedupSeconds * 1000 * Ms;
    r.speedupCpu = watch(o, tintaro, from, to);
    r.speedup = accuracy(o.ticks(from, to), speedupInterval);

    r.peakRssMb = tintaro.peakRssMb();
    o.close(window);
    if (!tintaro.waitForExit(5000))
        fail("Tintaro did not end when its window was closed");

    Program command({program, "--effect", "All", "--speed", "100"});
    from = command.startedAt + 500 * Ms;
    r.windowlessCpu = watch(o, command, from, from + seconds * 1000 * Ms);
    r.windowless = accuracy(o.ticks(from, from + seconds * 1000 * Ms), every100);
    command.signal(SIGTERM);
    if (!command.waitForExit(5000))
        fail("the command without a window did not end on SIGTERM");
    return r;
}

std::string cell(double value, const char* unit, int width) {
    char text[32];
    if (std::isnan(value))
        std::snprintf(text, sizeof text, "%*s", width + 2, "—"); // three bytes, one column
    else
        std::snprintf(text, sizeof text, "%*.2f %s", width - 1 - int(strlen(unit)), value, unit);
    return text;
}

double median(std::vector<double> values) {
    std::erase_if(values, [](double v) { return std::isnan(v); });
    if (values.empty())
        return NAN;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The median of the rounds' ratios, and their lowest and highest.
std::string ratio(const std::vector<double>& of, const std::vector<double>& to) {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < of.size(); ++i)
        if (to[i] > 0 && !std::isnan(of[i]))
            ratios.push_back(of[i] / to[i]);
    if (ratios.empty())
        return cell(NAN, "", 20);
    const auto [low, high] = std::minmax_element(ratios.begin(), ratios.end());
    char text[48];
    std::snprintf(text, sizeof text, "%5.2f x (%.2f-%.2f)", median(ratios), *low, *high);
    return text;
}

struct Round {
    Results floor, qtFloor, tintaro;
};

struct Figure {
    const char* name;
    const char* unit;
    double (*of)(const Results&);
};

using R = const Results&;
const Figure Figures[] = {
    {"CPU, idle window (50 ms display poll only)", "%", [](R r) { return r.idleCpu; }},
    {"CPU, \"All\" at 100 ms", "%", [](R r) { return r.allCpu; }},
    {"CPU, \"Speedup\"", "%", [](R r) { return r.speedupCpu; }},
    {"\"All\" at 100 ms: tick error, mean", "ms", [](R r) { return r.all.mean; }},
    {"\"All\" at 100 ms: tick error, 99th percentile", "ms", [](R r) { return r.all.p99; }},
    {"CPU, \"All\" at 100 ms, command without window", "%", [](R r) { return r.windowlessCpu; }},
    {"  the same: tick error, mean", "ms", [](R r) { return r.windowless.mean; }},
    {"  the same: tick error, 99th percentile", "ms", [](R r) { return r.windowless.p99; }},
    {"\"Speedup\": tick error, mean", "ms", [](R r) { return r.speedup.mean; }},
    {"\"Speedup\": tick error, 99th percentile", "ms", [](R r) { return r.speedup.p99; }},
    {"peak RSS", "MB", [](R r) { return r.peakRssMb; }},
    {"start to window shown", "ms", [](R r) { return r.startMs; }},
};

void row(const Figure& figure, const std::vector<Round>& rounds) {
    std::vector<double> floor, qtFloor, tintaro;
    for (const Round& r : rounds) {
        floor.push_back(figure.of(r.floor));
        qtFloor.push_back(figure.of(r.qtFloor));
        tintaro.push_back(figure.of(r.tintaro));
    }
    std::printf("| %-44s | %s | %s | %s | %20s | %20s |\n", figure.name,
                cell(median(floor), figure.unit, 10).c_str(),
                cell(median(qtFloor), figure.unit, 10).c_str(),
                cell(median(tintaro), figure.unit, 10).c_str(), ratio(tintaro, floor).c_str(),
                ratio(tintaro, qtFloor).c_str());
}

} // namespace

int main(int argc, char* argv[]) try {
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const int roundCount = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const char* program = argc > 3 ? argv[3] : TINTARO_BINARY;
    // At least one whole Speedup cycle of 10.5 s.
    const int speedupSeconds = std::max(seconds, 11);
    Observer observer;
    std::vector<Round> rounds(static_cast<std::size_t>(roundCount));
    for (std::size_t i = 0; i < rounds.size(); ++i) {
        Round& r = rounds[i];
        const auto floors = [&] {
            r.floor = measureFloor(observer, seconds, speedupSeconds);
            r.qtFloor = measureQtFloor(observer, seconds);
        };
        if (i % 2 == 0)
            floors();
        r.tintaro = measureTintaro(observer, program, seconds, speedupSeconds);
        if (i % 2 == 1)
            floors();
        std::fprintf(stderr, "round %zu: \"All\" CPU %.2f %% (X floor %.2f %%, Qt floor %.2f %%)\n",
                     i + 1, r.tintaro.allCpu, r.floor.allCpu, r.qtFloor.allCpu);
    }

    std::printf("%d rounds, %d s per figure (Speedup %d s); tick error: a gap between two ticks "
                "against the interval it should have; ratios: median of the rounds (lowest-highest)"
                "\n\n",
                roundCount, seconds, speedupSeconds);
    std::printf("| %-44s | %10s | %10s | %10s | %20s | %20s |\n", "figure", "X floor", "Qt floor",
                "Tintaro", "Tintaro / X floor", "Tintaro / Qt floor");
    std::printf("|%s|%s|%s|%s|%s|%s|\n", std::string(46, '-').c_str(), std::string(12, '-').c_str(),
                std::string(12, '-').c_str(), std::string(12, '-').c_str(),
                std::string(22, '-').c_str(), std::string(22, '-').c_str());
    for (const Figure& figure : Figures)
        row(figure, rounds);
    return 0;
} catch (const std::exception& failure) {
    std::fprintf(stderr, "bench_tintaro: %s\n", failure.what());
    return 1;
}
