// How evenly the "All" effect ticks on a real X server, and what it costs. The program runs
// "All" at 100 ms with the X11 keyboard and the event loop's timers, while a second process, an
// X client of its own, notes the arrival time of every change of the keyboard indicators.
// Usage: bench_effecttiming [seconds]   (default 30; needs DISPLAY)

#include "desktoplauncher.h"
#include "qtclock.h"
#include "speedslider.h"
#include "tastatur.h"
#include "x11keyboard.h"

#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>

// Xlib's macros clash with Qt's names: included after Qt.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

#include <poll.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int Interval = 100; // ms, the slider's fastest
// Indicator changes closer together than this belong to the same tick (one tick toggles all three).
constexpr std::int64_t SameTickNs = 20'000'000;

struct IndicatorChange {
    std::int64_t ns; // CLOCK_MONOTONIC
    unsigned state;
};

std::int64_t nowNs(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return std::int64_t(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

// The observing X client: collects indicator changes until `stop` is closed, then writes them
// all to `out` (so that writing never delays the next arrival) and exits.
[[noreturn]] void observe(int out, int stop) {
    Display* display = XOpenDisplay(nullptr);
    int opcode = 0, xkbEvent = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
    if (!display || !XkbQueryExtension(display, &opcode, &xkbEvent, &error, &major, &minor))
        _exit(2);
    XkbSelectEvents(display, XkbUseCoreKbd, XkbIndicatorStateNotifyMask,
                    XkbIndicatorStateNotifyMask);
    XSync(display, False);
    const char ready = 1;
    if (write(out, &ready, 1) != 1)
        _exit(2);

    std::vector<IndicatorChange> changes;
    changes.reserve(4096);
    pollfd fds[2] = {{ConnectionNumber(display), POLLIN, 0}, {stop, POLLIN, 0}};
    for (;;) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            const auto& xkb = reinterpret_cast<const XkbEvent&>(event);
            if (event.type == xkbEvent && xkb.any.xkb_type == XkbIndicatorStateNotify)
                changes.push_back({nowNs(CLOCK_MONOTONIC), xkb.indicators.state});
        }
        if (poll(fds, 2, -1) > 0 && fds[1].revents)
            break;
    }
    const auto* bytes = reinterpret_cast<const char*>(changes.data());
    std::size_t left = changes.size() * sizeof(IndicatorChange);
    while (left > 0) {
        const ssize_t n = write(out, bytes, left);
        if (n <= 0)
            break;
        bytes += n;
        left -= std::size_t(n);
    }
    XCloseDisplay(display);
    _exit(0);
}

std::vector<IndicatorChange> readAll(int in) {
    std::vector<char> bytes;
    char buffer[65536];
    for (ssize_t n; (n = read(in, buffer, sizeof buffer)) > 0;)
        bytes.insert(bytes.end(), buffer, buffer + n);
    std::vector<IndicatorChange> changes(bytes.size() / sizeof(IndicatorChange));
    std::copy_n(bytes.data(), changes.size() * sizeof(IndicatorChange),
                reinterpret_cast<char*>(changes.data()));
    return changes;
}

void runEventLoop(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

double ms(std::int64_t ns) {
    return double(ns) / 1e6;
}

} // namespace

int main(int argc, char* argv[]) {
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;

    // The observer is forked before Qt starts any thread.
    int data[2], stop[2];
    if (pipe(data) != 0 || pipe(stop) != 0)
        return 1;
    const pid_t observer = fork();
    if (observer == 0) {
        close(data[0]);
        close(stop[1]);
        observe(data[1], stop[0]);
    }
    close(data[1]);
    close(stop[0]);
    char ready = 0;
    if (read(data[0], &ready, 1) != 1) {
        std::fprintf(stderr, "The observing X client could not start (is DISPLAY set?)\n");
        return 1;
    }

    QApplication app(argc, argv);
    QString whyNot;
    const std::unique_ptr<X11Keyboard> keyboard = X11Keyboard::open(&whyNot);
    if (!keyboard) {
        std::fprintf(stderr, "No X11 keyboard: %s\n", qPrintable(whyNot));
        close(stop[1]);
        waitpid(observer, nullptr, 0);
        return 1;
    }
    QtClock clock;
    DesktopLauncher launcher;
    tastatur window(*keyboard, clock, launcher);
    const tastaturDesign& ui = window.design();
    window.show();
    runEventLoop(500); // past the start-up reset

    ui.Combo1->setCurrentIndex(0);
    ui.EffectSpeed->setValue(Interval);
    const std::int64_t startNs = nowNs(CLOCK_MONOTONIC);
    const std::int64_t startCpuNs = nowNs(CLOCK_PROCESS_CPUTIME_ID);
    ui.StartEff->click();
    runEventLoop(seconds * 1000);
    const std::int64_t endCpuNs = nowNs(CLOCK_PROCESS_CPUTIME_ID);
    const std::int64_t endNs = nowNs(CLOCK_MONOTONIC);
    ui.Stop->click();
    runEventLoop(300);
    window.close();

    close(stop[1]);
    const std::vector<IndicatorChange> changes = readAll(data[0]);
    waitpid(observer, nullptr, 0);

    // The first change of each tick marks the tick.
    std::vector<std::int64_t> ticks;
    for (const IndicatorChange& change : changes) {
        if (change.ns <= startNs || change.ns > endNs)
            continue;
        if (ticks.empty() || change.ns - ticks.back() > SameTickNs)
            ticks.push_back(change.ns);
    }
    if (ticks.size() < 3) {
        std::fprintf(stderr, "Only %zu ticks seen: do the indicators change on this server?\n",
                     ticks.size());
        return 1;
    }
    std::vector<double> deviations;
    double sumIntervals = 0;
    for (std::size_t i = 1; i < ticks.size(); ++i) {
        const double interval = ms(ticks[i] - ticks[i - 1]);
        sumIntervals += interval;
        deviations.push_back(std::abs(interval - Interval));
    }
    std::sort(deviations.begin(), deviations.end());
    double sumDeviations = 0;
    for (double d : deviations)
        sumDeviations += d;
    const std::size_t p99 =
        std::min(deviations.size() - 1, std::size_t(double(deviations.size()) * 0.99));
    const double wallMs = ms(endNs - startNs);
    const double cpuMs = ms(endCpuNs - startCpuNs);

    std::printf("\"All\" at %d ms for %.1f s, indicator changes seen by a separate X client\n",
                Interval, wallMs / 1000);
    std::printf("  ticks observed             %zu (first %.2f ms after the start)\n", ticks.size(),
                ms(ticks.front() - startNs));
    std::printf("  mean interval              %.3f ms\n", sumIntervals / double(deviations.size()));
    std::printf("  deviation from %d ms: mean %.3f ms, 99th percentile %.3f ms, max %.3f ms\n",
                Interval, sumDeviations / double(deviations.size()), deviations[p99],
                deviations.back());
    std::printf("  program CPU time           %.1f ms (%.2f %% of one core)\n", cpuMs,
                100.0 * cpuMs / wallMs);
    return 0;
}
