#include "platform/uinputkeyboard.h"

#include "platform/clock.h"
#include "platform/inputeventstream.h"
#include "platform/ledwriter.h"
#include "platform/systemkeys.h"
#include "platform/uinputdevice.h"

#include <linux/input-event-codes.h>

#include <algorithm>
#include <bitset>
#include <chrono>
#include <map>
#include <thread>
#include <utility>
#include <vector>

// When strokes go out. A new device reaches the compositor only once udev has announced it
// and the compositor has opened it; whatever is written before that is read by nobody.
// Sleeping until then would freeze the window, so strokes wait in a queue and a countdown
// polls until the device counts as taken up: at the first LED change after it was made (a
// compositor that sets its LEDs on every keyboard it adds, when they differ from dark), or
// SettleMs after it was made, whichever comes first.
//
// Where the toggle states come from. The virtual device's own LEDs: the compositor, or the
// console, sets the lock LEDs of every keyboard it drives, this one too, and the kernel sends
// each change back on the device's descriptor: the state of exactly the session the strokes
// go to, with nothing to poll. Until the device is taken up they tell nothing, and neither does
// the LED class: making the device sets every keyboard's LEDs to the text console's locks, with
// nothing told to the compositor. So the LED class is read before the device is made, and a
// lock counts as on when every keyboard showed it lit then.
//
// A compositor that does not push its lock state to a keyboard joining its group (sway) leaves
// the device's LEDs dark while a lock is on; worse, sway keeps a lock state for each keyboard of
// the group and hands the whole of it to the group whenever one of them changes: the device's
// first stroke would make the group's locks what the device's dark state and that stroke say,
// and a stroke meant to put Caps Lock out would light it. So when the take-up comes by the time
// limit, every lock that the keyboards showed lit before and the device shows dark is struck
// once on the device first: its state then equals the group's, which it hands back unchanged,
// and the compositor's LED update shows on the device like on any other keyboard. A compositor
// with a state of its own for this keyboard (which starts with every lock off) is told apart by
// the same strokes: the lock lights here and on no physical keyboard (see below). So the strokes
// waiting, the reset's among them, go only once that is told: to the device, or to the physical
// keyboards, whose LEDs are first set back to what they showed before the device was made, the
// state the compositor still holds for them.
//
// Strokes not shown yet. Either source lags this keyboard's own lock-key strokes: the LED
// class knows nothing of those waiting in the queue, and the compositor sets the device's LEDs
// only once it has read them. A lit lock read in between, as when the lit locks are turned
// off twice in quick succession, would be toggled again and left lit. So each lock's presses
// count until its LED changes, oldest first, and an odd number of them inverts the state
// read. A compositor may show two quick presses as no change at all: the even number left
// changes nothing. A press may also never show, written before a slow compositor opened the
// device or cancelled out by another keyboard's: so presses count for one to two periods of
// ConfirmMs at most.
//
// Locks that strokes cannot reach. Under a keymap that binds no modifier to Scroll_Lock (the
// default of xkbcommon, so of most Wayland desktops) its strokes change nothing; where the
// compositor keeps a lock state per keyboard (a lock LED changed on this keyboard shows so on no
// other EchoMs later), strokes change only this keyboard's. Such a lock is set on the physical
// keyboards' LEDs directly, and read back from them; without a way to set them it is neither
// toggled nor shown. Scroll Lock's LED is set again whenever the compositor rewrites it. A lock
// that the compositor keeps per keyboard is struck on each physical keyboard that shows it
// otherwise, where their devices are open to the program, and its LED set at once so that it
// reads back before the compositor has read the stroke; where they are not, only its LED is set,
// and the compositor's next word on it (at a key of that keyboard) is that keyboard's truth.

namespace {

constexpr int PollMs = 50;

// The compositor's time to read the last strokes before the device goes with them.
constexpr std::chrono::milliseconds LingerTime{200};

// The longest wait for the device's LEDs to answer the strokes that tell how the compositor
// keeps its locks.
constexpr int ProbeMs = 1000;

struct Unshown {
    int presses = 0; // not shown on the LED yet
    int recent = 0;  // of those, the ones sent in this period
};

struct LockLed {
    int keyCode;
    int led;
    const char* name; // in the LED class
};

constexpr LockLed LockLeds[] = {
    {LockKeyCode::Num, LED_NUML, "numlock"},
    {LockKeyCode::Caps, LED_CAPSL, "capslock"},
    {LockKeyCode::Scroll, LED_SCROLLL, "scrolllock"},
};

const LockLed* lockLedOf(int keyCode) {
    for (const LockLed& lock : LockLeds)
        if (lock.keyCode == keyCode)
            return &lock;
    return nullptr;
}

std::size_t indexOf(const LockLed& lock) {
    return std::size_t(&lock - LockLeds);
}

QString nameOf(const LockLed& lock) {
    return QString::fromLatin1(lock.name);
}

} // namespace

struct UinputKeyboard::Private {
    Private(int fd, Surroundings surroundings)
        : stream(fd), others(std::move(surroundings.leds)), litBefore(surroundings.litBefore),
          direct(std::move(surroundings.direct)), nodes(std::move(surroundings.nodes)) {
        byLed[indexOf(LockLeds[2])] = stateless[indexOf(LockLeds[2])] = surroundings.scrollByLed;
    }

    // Takes in the LED changes waiting; one after the start means the device is taken up,
    // after which each shows the oldest press of its lock not shown yet.
    void follow() {
        const std::vector<int> changed = stream.readLeds();
        if (!settled) {
            if (!changed.empty())
                settle(false);
            return;
        }
        probeAnswered = probeAnswered || (probing && !changed.empty());
        for (int led : changed) {
            if (const auto lock = unshown.find(led); lock != unshown.end() && lock->second.presses)
                --lock->second.presses;
            // Another keyboard must show the same soon; a change again before that restarts
            // the wait.
            for (const LockLed& lock : LockLeds)
                if (lock.led == led && !byLed[indexOf(lock)]) {
                    echoWaitMs[indexOf(lock)] = EchoMs;
                    watch();
                }
        }
    }

    // A lock-key press, queued or written. Forgetting runs while a press written is not shown.
    void pressed(int led) {
        if (settled && unshown.empty())
            forgetting->restart(UinputKeyboard::ConfirmMs);
        ++unshown[led].presses;
        ++unshown[led].recent;
        watch();
    }

    // Each period: as presses are shown oldest first, those not shown and sent before it are
    // all but the recent ones; they count no more.
    void forget() {
        follow();
        for (auto& [led, lock] : unshown)
            lock = {std::min(lock.presses, lock.recent), 0};
        std::erase_if(unshown, [](const auto& lock) { return lock.second.presses == 0; });
        if (unshown.empty())
            forgetting->cancel();
    }

    bool setByLed(int keyCode) const {
        const LockLed* lock = lockLedOf(keyCode);
        return lock && byLed[indexOf(*lock)];
    }

    // A lock on the physical keyboards' LEDs can be toggled.
    bool reachable(const LockLed& lock) const {
        return direct || (nodes && !stateless[indexOf(lock)]);
    }

    bool lit(const LockLed& lock) const {
        if (byLed[indexOf(lock)])
            return reachable(lock) &&
                   (direct ? direct->lit(nameOf(lock)) : others.litOnEvery(nameOf(lock)));
        const bool shown = settled ? stream.ledOn(lock.led) : litBefore[indexOf(lock)];
        const auto pending = unshown.find(lock.led);
        return shown != (pending != unshown.end() && pending->second.presses % 2 == 1);
    }

    void tick() {
        follow();
        if (direct)
            direct->keep();
        if (!settled) {
            waitedMs += PollMs;
            if (waitedMs >= SettleMs)
                settle(true);
            return;
        }
        for (const LockLed& lock : LockLeds) {
            int& wait = echoWaitMs[indexOf(lock)];
            if (wait > 0 && (wait -= PollMs) <= 0 && !others.entries(nameOf(lock)).isEmpty() &&
                !others.shownOnAny(nameOf(lock), stream.ledOn(lock.led)))
                takeLedsOver(lock);
        }
        if (probing) {
            probeMs += PollMs;
            if (!echoAwaited() && (probeAnswered || probeMs >= ProbeMs)) {
                probing = false;
                flushQueue();
            }
        }
        if (!watching()) {
            ticking->cancel();
            ticks = false;
        }
    }

    // Runs the countdown while there is something to follow beside the take-up: strokes not
    // shown, the echo of an LED change, LEDs kept on the physical keyboards.
    void watch() {
        if (!std::exchange(ticks, true))
            ticking->restart(PollMs);
    }

    bool echoAwaited() const {
        return std::ranges::any_of(echoWaitMs, [](int wait) { return wait > 0; });
    }

    bool watching() const {
        return probing || !unshown.empty() || echoAwaited() ||
               (direct && std::ranges::any_of(stateless, [](bool kept) { return kept; }));
    }

    // The compositor keeps this keyboard's locks to itself: from now on every lock is set on the
    // physical keyboards. The one just changed here is set there as it is here; the others stay
    // as they show, or, told at the take-up, show again what they showed before the device was
    // made darkened them. The device's own locks go out, so that what it types is not shifted.
    void takeLedsOver(const LockLed& changed) {
        for (const LockLed& lock : LockLeds) {
            const std::size_t i = indexOf(lock);
            const bool here = lit(lock);
            if (std::exchange(byLed[i], true))
                continue;
            if (probing && direct)
                direct->show(nameOf(lock), litBefore[i]);
            else if (&lock == &changed)
                setOwnLock(lock, here);
            if (stream.ledOn(lock.led))
                strike(lock);
        }
    }

    // A lock that the compositor keeps per keyboard, set to `on` on the physical keyboards.
    void setOwnLock(const LockLed& lock, bool on) {
        if (nodes)
            for (const QString& entry : others.entries(nameOf(lock)))
                if (others.isLit(entry) != on)
                    nodes->strike(entry, linuxKeyCode(lock.keyCode));
        if (direct)
            direct->show(nameOf(lock), on);
    }

    // A lock-key press for a lock set on the physical keyboards.
    void toggleDirectly(const LockLed& lock) {
        if (!reachable(lock))
            return;
        // Only a lock without a state anywhere is kept lit against the compositor.
        if (stateless[indexOf(lock)])
            direct->toggle(nameOf(lock));
        else
            setOwnLock(lock, !lit(lock));
        watch();
    }

    // While the device is not taken up, or the compositor's way with its locks not told yet,
    // strokes for it wait.
    bool holding() const { return !settled || probing; }

    void deliver(int keyCode, bool down, bool newPress) {
        if (setByLed(keyCode)) {
            if (newPress)
                toggleDirectly(*lockLedOf(keyCode));
            return;
        }
        write(linuxKeyCode(keyCode), down);
    }

    void flushQueue() {
        for (const Queued& stroke : queued)
            deliver(stroke.keyCode, stroke.down, stroke.newPress);
        queued.clear();
        if (!unshown.empty()) // the presses waiting have their time from now
            forgetting->restart(UinputKeyboard::ConfirmMs);
    }

    void settle(bool byTimeLimit) {
        settled = true;
        if (byTimeLimit)
            for (const LockLed& lock : LockLeds)
                if (!byLed[indexOf(lock)] && litBefore[indexOf(lock)] && !stream.ledOn(lock.led)) {
                    strike(lock);
                    probing = true;
                }
        if (!probing)
            flushQueue();
        if (!watching()) {
            ticking->cancel();
            ticks = false;
        }
    }

    void strike(const LockLed& lock) {
        pressed(lock.led);
        const int key = linuxKeyCode(lock.keyCode);
        write(key, true);
        write(key, false);
    }

    void write(int key, bool down) {
        stream.writeKey(key, down);
        lastWrite = std::chrono::steady_clock::now();
    }

    // A real device goes when closed and takes the strokes not read yet along, such as the
    // ones that darken the LEDs as the window closes. So it waits, now that there is no
    // window left to freeze, for the strokes to go out and to be read.
    void close() {
        const bool real = device != nullptr;
        if (real && !settled && !queued.empty()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(SettleMs - waitedMs));
            settle(true);
        }
        while (real && probing) {
            std::this_thread::sleep_for(std::chrono::milliseconds(PollMs));
            tick();
        }
        if (settled)
            for (int key = 0; key < 256; ++key)
                if (held[key] && !setByLed(key))
                    write(linuxKeyCode(key), false);
        if (real)
            std::this_thread::sleep_until(lastWrite + LingerTime);
    }

    std::unique_ptr<UinputDevice> device; // null for a stand-in
    InputEventStream stream;
    LedClass others;
    std::array<bool, 3> litBefore;
    std::unique_ptr<DirectLeds> direct;
    std::unique_ptr<KeyboardNodes> nodes;
    std::array<bool, 3> byLed{};     // set on the physical keyboards, by lock
    std::array<bool, 3> stateless{}; // of those, kept so: no compositor holds a state for it
    std::array<int, 3> echoWaitMs{};
    std::unique_ptr<Countdown> ticking;
    bool ticks = true;
    std::unique_ptr<Countdown> forgetting;
    std::map<int, Unshown> unshown; // by LED
    int waitedMs = 0;
    bool settled = false;
    bool probing = false; // strokes sent at the take-up tell how the compositor keeps its locks
    bool probeAnswered = false;
    int probeMs = 0;
    struct Queued {
        int keyCode; // virtual
        bool down;
        bool newPress;
    };
    std::vector<Queued> queued;
    std::bitset<256> held; // virtual keys pressed through us
    std::chrono::steady_clock::time_point lastWrite;
};

std::unique_ptr<UinputKeyboard> UinputKeyboard::open(Clock& clock, bool wayland, QString* whyNot) {
    // Read before the device exists: making it darkens every keyboard's LEDs.
    const LedClass before;
    std::array<bool, 3> litBefore{};
    for (const LockLed& lock : LockLeds)
        litBefore[indexOf(lock)] = before.litOnEvery(nameOf(lock));
    auto device = UinputDevice::create(whyNot);
    if (!device)
        return nullptr;
    const LedClass others(LedClass::SystemFolder, device->inputName());
    std::unique_ptr<DirectLeds> direct;
    if (auto writer = openLedWriter(others))
        direct = std::make_unique<DirectLeds>(others, std::move(writer));
    return std::unique_ptr<UinputKeyboard>(new UinputKeyboard(
        std::move(device), clock,
        {others, litBefore, std::move(direct), wayland, KeyboardNodes::open(others)}));
}

UinputKeyboard::UinputKeyboard(std::unique_ptr<UinputDevice> device, Clock& clock,
                               Surroundings surroundings)
    : UinputKeyboard(device->fd(), clock, std::move(surroundings)) {
    d->device = std::move(device);
}

UinputKeyboard::UinputKeyboard(int fd, Clock& clock, Surroundings surroundings)
    : d(std::make_unique<Private>(fd, std::move(surroundings))) {
    // The console sets its LEDs on a keyboard while it is being made, long before any
    // compositor has it: those do not mean that the device is taken up.
    d->stream.readLeds();
    d->ticking = clock.createCountdown([this] { d->tick(); }, Timing::Exact);
    d->ticking->restart(PollMs);
    d->forgetting = clock.createCountdown([this] { d->forget(); }, Timing::Exact);
}

UinputKeyboard::~UinputKeyboard() {
    d->close();
}

void UinputKeyboard::sendKeyEvent(const KeyEvent& event) {
    d->follow();
    const int key = linuxKeyCode(event.keyCode);
    const bool down = !(event.flags & KeyEventFlag::KeyUp);
    if (key == 0 || (!down && !d->held[event.keyCode]))
        return;
    // A press of a key already down changes nothing.
    const bool newPress = down && !d->held[event.keyCode];
    d->held[event.keyCode] = down;
    const bool byLed = d->setByLed(event.keyCode);
    if (const LockLed* lock = lockLedOf(event.keyCode); lock && newPress && !byLed)
        d->pressed(lock->led);
    if (d->holding() && !byLed)
        d->queued.push_back({event.keyCode, down, newPress});
    else
        d->deliver(event.keyCode, down, newPress);
}

std::int16_t UinputKeyboard::keyState(int keyCode) const {
    if (keyCode < 0 || keyCode >= 256)
        return 0;
    d->follow();
    std::int16_t state = 0;
    if (const LockLed* lock = lockLedOf(keyCode); lock && d->lit(*lock))
        state |= KeyStateBit::Toggled;
    if (d->held[keyCode])
        state |= KeyStateBit::Held;
    return state;
}

bool UinputKeyboard::canShowLock(int keyCode) const {
    const LockLed* lock = lockLedOf(keyCode);
    return !lock || !d->byLed[indexOf(*lock)] || d->reachable(*lock);
}
