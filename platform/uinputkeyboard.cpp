#include "uinputkeyboard.h"

#include "clock.h"
#include "inputeventstream.h"
#include "systemkeys.h"
#include "uinputdevice.h"

#include <linux/input-event-codes.h>

#include <bitset>
#include <chrono>
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

namespace {

constexpr int PollMs = 50;

// The compositor's time to read the last strokes before the device goes with them.
constexpr std::chrono::milliseconds LingerTime{200};

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

    // Takes in the LED changes waiting; one after the start means the device is taken up.
    void follow() {
        if (stream.readLeds() && !settled)
            settle();
    }

    void tick() {
        follow();
        waitedMs += PollMs;
        if (!settled && waitedMs >= SettleMs)
            settle();
    }

    void settle() {
        settled = true;
        settling->stop();
        for (const auto& [key, down] : queued)
            write(key, down);
        queued.clear();
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
    d->settling->start(PollMs);
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
    if (const LockLed* lock = lockLedOf(keyCode)) {
        const bool lit = d->settled ? d->stream.ledOn(lock->led)
                                    : d->ledClass.litOnEvery(QString::fromLatin1(lock->name));
        if (lit)
            state |= KeyStateBit::Toggled;
    }
    if (d->held[keyCode])
        state |= KeyStateBit::Held;
    return state;
}
