#include "platform/uinputkeyboard.h"

#include "platform/clock.h"
#include "platform/inputeventstream.h"
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
// compositor sets its LEDs on every keyboard it adds, but only a change comes through, so
// none comes while every lock is off), or SettleMs after it was made, whichever comes first.
//
// Where the toggle states come from. The virtual device's own LEDs: the compositor, or the
// console, sets the lock LEDs of every keyboard it drives, this one too, and the kernel sends
// each change back on the device's descriptor: the state of exactly the session the strokes
// go to, with nothing to poll. The LED class in sysfs is readable by everyone too, but has an
// entry per keyboard, some of which may belong to another seat or be left alone by the
// compositor and so disagree, and it must be polled. So the device's own LEDs are the source.
// Until the device is taken up they tell nothing (they start dark whatever the keyboards
// show), and the LED class bridges that time: a lock counts as on only when every keyboard
// shows it lit, so that no state is reported that no keyboard shows.
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

namespace {

constexpr int PollMs = 50;

// The compositor's time to read the last strokes before the device goes with them.
constexpr std::chrono::milliseconds LingerTime{200};

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

} // namespace

struct UinputKeyboard::Private {
    Private(int fd, LedClass ledClass) : stream(fd), ledClass(std::move(ledClass)) {}

    // Takes in the LED changes waiting; one after the start means the device is taken up,
    // after which each shows the oldest press of its lock not shown yet.
    void follow() {
        const std::vector<int> changed = stream.readLeds();
        if (!settled) {
            if (!changed.empty())
                settle();
            return;
        }
        for (int led : changed)
            if (const auto lock = unshown.find(led); lock != unshown.end() && lock->second.presses)
                --lock->second.presses;
    }

    // A lock-key press, queued or written. Forgetting runs while a press written is not shown.
    void pressed(int led) {
        if (settled && unshown.empty())
            forgetting->restart(UinputKeyboard::ConfirmMs);
        ++unshown[led].presses;
        ++unshown[led].recent;
    }

    // Each period: as presses are shown oldest first, those not shown and sent before it are
    // all but the recent ones; they count no more.
    void forget() {
        for (auto& [led, lock] : unshown)
            lock = {std::min(lock.presses, lock.recent), 0};
        std::erase_if(unshown, [](const auto& lock) { return lock.second.presses == 0; });
        if (unshown.empty())
            forgetting->cancel();
    }

    bool lit(const LockLed& lock) const {
        const bool shown =
            settled ? stream.ledOn(lock.led) : ledClass.litOnEvery(QString::fromLatin1(lock.name));
        const auto pending = unshown.find(lock.led);
        return shown != (pending != unshown.end() && pending->second.presses % 2 == 1);
    }

    void tick() {
        follow();
        waitedMs += PollMs;
        if (!settled && waitedMs >= SettleMs)
            settle();
    }

    void settle() {
        settled = true;
        settling->cancel();
        for (const auto& [key, down] : queued)
            write(key, down);
        queued.clear();
        if (!unshown.empty()) // the presses waiting have their time from now
            forgetting->restart(UinputKeyboard::ConfirmMs);
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
            settle();
        }
        if (settled)
            for (int key = 0; key < 256; ++key)
                if (held[key])
                    write(linuxKeyCode(key), false);
        if (real)
            std::this_thread::sleep_until(lastWrite + LingerTime);
    }

    std::unique_ptr<UinputDevice> device; // null for a stand-in
    InputEventStream stream;
    LedClass ledClass;
    std::unique_ptr<Countdown> settling;
    std::unique_ptr<Countdown> forgetting;
    std::map<int, Unshown> unshown; // by LED
    int waitedMs = 0;
    bool settled = false;
    std::vector<std::pair<int, bool>> queued; // Linux key, down
    std::bitset<256> held;                    // virtual keys pressed through us
    std::chrono::steady_clock::time_point lastWrite;
};

std::unique_ptr<UinputKeyboard> UinputKeyboard::open(Clock& clock, QString* whyNot) {
    auto device = UinputDevice::create(whyNot);
    if (!device)
        return nullptr;
    return std::unique_ptr<UinputKeyboard>(new UinputKeyboard(std::move(device), clock));
}

UinputKeyboard::UinputKeyboard(std::unique_ptr<UinputDevice> device, Clock& clock)
    : UinputKeyboard(device->fd(), clock, LedClass(LedClass::SystemFolder, device->inputName())) {
    d->device = std::move(device);
}

UinputKeyboard::UinputKeyboard(int fd, Clock& clock, LedClass ledClass)
    : d(std::make_unique<Private>(fd, std::move(ledClass))) {
    // The console sets its LEDs on a keyboard while it is being made, long before any
    // compositor has it: those do not mean that the device is taken up.
    d->stream.readLeds();
    d->settling = clock.createCountdown([this] { d->tick(); });
    d->settling->restart(PollMs);
    d->forgetting = clock.createCountdown([this] { d->forget(); });
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
    if (const LockLed* lock = lockLedOf(event.keyCode); lock && down && !d->held[event.keyCode])
        d->pressed(lock->led);
    d->held[event.keyCode] = down;
    if (d->settled)
        d->write(key, down);
    else
        d->queued.emplace_back(key, down);
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
