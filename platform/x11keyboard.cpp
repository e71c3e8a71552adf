#include "platform/x11keyboard.h"
#include "platform/systemkeys.h"
#include "platform/x11display.h"

#include <QSocketNotifier>
#include <QTimer>

// Xlib's macros (None, Bool, KeyPress, ...) clash with Qt: included here only, after Qt.
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <array>
#include <bitset>
#include <chrono>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace {

bool inRange(int keyCode) {
    return keyCode >= 0 && keyCode < 256;
}

// Xlib tells of a broken connection to one handler for the whole process, and the one in place
// (Qt's, or Xlib's own) ends the program from inside the call that found it, even when that
// call is the cleanup on the way out. A keyboard's connection is left to its own exit handler,
// which just stops the keyboard using it.
std::vector<Display*> keyboardDisplays;
XIOErrorHandler otherIOErrorHandler = nullptr;

int onIOError(Display* display) {
    return std::ranges::count(keyboardDisplays, display) ? 0 : otherIOErrorHandler(display);
}

struct DisplayCloser {
    void operator()(Display* display) const {
        XCloseDisplay(display);
        std::erase(keyboardDisplays, display);
    }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

struct ModifierMapDeleter {
    void operator()(XModifierKeymap* map) const { XFreeModifiermap(map); }
};
using ModifierMapPtr = std::unique_ptr<XModifierKeymap, ModifierMapDeleter>;

bool hasEntry(const XModifierKeymap& map, int row, KeyCode keyCode) {
    for (int i = 0; i < map.max_keypermod; ++i)
        if (map.modifiermap[row * map.max_keypermod + i] == keyCode)
            return true;
    return false;
}

bool rowIsEmpty(const XModifierKeymap& map, int row) {
    for (int i = 0; i < map.max_keypermod; ++i)
        if (map.modifiermap[row * map.max_keypermod + i] != 0)
            return false;
    return true;
}

// The Scroll Lock binding as recorded on the root window, where every copy of the program on
// the display finds it: the key and modifier row bound, and a window of each copy using it.
// A copy's window goes when its connection does, however it ends, so a binding whose users are
// all gone is a leftover.
struct BindingRecord {
    KeyCode keyCode = 0;
    int row = -1; // none
    std::vector<Window> users;
};

} // namespace

struct X11Keyboard::Private {
    explicit Private(DisplayPtr display) : display(std::move(display)) { keyCodes.fill(-1); }

    // The X key for a virtual key in the current keymap; 0 when it has none.
    KeyCode keyCodeOf(int keyCode) {
        if (!inRange(keyCode) || x11Keysym(keyCode) == 0)
            return 0;
        if (keyCodes[keyCode] < 0)
            keyCodes[keyCode] = XKeysymToKeycode(display.get(), x11Keysym(keyCode));
        return static_cast<KeyCode>(keyCodes[keyCode]);
    }

    // Nothing else reads this connection's events. The indicators, and which lock keys are down,
    // are followed from the server's notifications, so that reading a lock key's state costs no
    // round trip; a changed keymap makes the cached key lookups and indicator places stale, and
    // may have dropped the Scroll Lock binding. `mode` QueuedAfterFlush reads what has arrived;
    // QueuedAlready takes only what round trips have read along, at no cost of a system call.
    void followServer(int mode) {
        if (broken) {
            notices->setEnabled(false); // a closed socket reads as ready for ever
            return;
        }
        bool keymapChanged = false;
        while (XEventsQueued(display.get(), mode) > 0) {
            XEvent event;
            XNextEvent(display.get(), &event);
            if (event.type == MappingNotify) {
                XRefreshKeyboardMapping(&event.xmapping);
                keymapChanged = true;
            } else if (event.type == xkbEventBase) {
                const auto& xkb = reinterpret_cast<const XkbAnyEvent&>(event);
                if (xkb.xkb_type == XkbIndicatorStateNotify) {
                    indicatorState = reinterpret_cast<const XkbIndicatorNotifyEvent&>(event).state;
                } else if (xkb.xkb_type == XkbStateNotify) {
                    // A lock key sets its modifier while down: its press and its release each
                    // change the base modifiers, and the notification names the key.
                    const auto& state = reinterpret_cast<const XkbStateNotifyEvent&>(event);
                    if (state.keycode != 0)
                        lockKeysDown[state.keycode] = state.event_type == KeyPress;
                } else if (xkb.xkb_type == XkbIndicatorMapNotify) {
                    readIndicators();
                } else if (xkb.xkb_type == XkbNewKeyboardNotify) {
                    keymapChanged = true;
                }
            }
        }
        if (keymapChanged) {
            keyCodes.fill(-1);
            settleWhileRunning();
            readIndicators();
        }
    }

    void readIndicators() {
        for (int key : {LockKeyCode::Num, LockKeyCode::Caps, LockKeyCode::Scroll}) {
            int index = -1;
            if (!XkbGetNamedIndicator(display.get(), indicators[key], &index, nullptr, nullptr,
                                      nullptr))
                index = -1;
            indicatorIndex[key] = index;
        }
        unsigned state = 0;
        if (XkbGetIndicatorState(display.get(), XkbUseCoreKbd, &state) == Success)
            indicatorState = state;
    }

    bool indicatorOn(int keyCode) const {
        const int index = indicatorIndex[keyCode];
        return index >= 0 && (indicatorState & (1u << index));
    }

    std::bitset<256> keysDown() {
        char keys[32];
        XQueryKeymap(display.get(), keys);
        std::bitset<256> down;
        for (int key = 0; key < 256; ++key)
            down[key] = keys[key / 8] & (1 << (key % 8));
        return down;
    }

    BindingRecord readRecord() {
        BindingRecord record;
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display.get(), root, recordAtom, 0, 1024, False, XA_CARDINAL, &type,
                               &format, &count, &after, &data) != Success)
            return record;
        // Format 32 comes as longs: key, row, then the users' windows.
        const auto* values = reinterpret_cast<const long*>(data);
        if (type == XA_CARDINAL && format == 32 && count >= 2 && values[0] >= 8 &&
            values[0] <= 255 && values[1] >= Mod1MapIndex && values[1] <= Mod5MapIndex) {
            record.keyCode = static_cast<KeyCode>(values[0]);
            record.row = static_cast<int>(values[1]);
            record.users.assign(values + 2, values + count);
        }
        XFree(data);
        return record;
    }

    void writeRecord(const BindingRecord& record) {
        if (record.row < 0 || record.users.empty()) {
            XDeleteProperty(display.get(), root, recordAtom);
            return;
        }
        std::vector<long> values{record.keyCode, record.row};
        values.insert(values.end(), record.users.begin(), record.users.end());
        XChangeProperty(display.get(), root, recordAtom, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(values.data()),
                        static_cast<int>(values.size()));
    }

    // Drops users whose window is gone (a copy killed outright) and this keyboard itself.
    void dropGoneUsers(BindingRecord& record) {
        std::erase(record.users, self);
        if (record.users.empty())
            return;
        Window rootReturn = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display.get(), root, &rootReturn, &parent, &children, &count))
            return;
        std::erase_if(record.users, [&](Window user) {
            return std::find(children, children + count, user) == children + count;
        });
        XFree(children);
    }

    // Binds Scroll_Lock into a free modifier row, the preferred one where it is free; returns
    // the row, -1 for none, or nullopt when the server is busy.
    std::optional<int> bindScrollLock(ModifierMapPtr& map, int preferredRow) {
        const KeyCode scrollLock = XKeysymToKeycode(display.get(), XK_Scroll_Lock);
        if (scrollLock == 0)
            return -1;
        int freeRow = -1;
        for (int row = 0; row < 8; ++row) {
            if (hasEntry(*map, row, scrollLock))
                return -1; // someone else bound it: leave their setup alone
            if ((freeRow < 0 || row == preferredRow) && row >= Mod1MapIndex &&
                rowIsEmpty(*map, row))
                freeRow = row;
        }
        if (freeRow < 0)
            return -1;
        // The server's XKB compat rules then turn the modifier into the ScrollLock virtual
        // modifier that the "Scroll Lock" indicator follows.
        map.reset(XInsertModifiermapEntry(map.release(), scrollLock, freeRow));
        if (!map)
            return -1;
        const int result = XSetModifierMapping(display.get(), map.get());
        if (result == MappingBusy)
            return std::nullopt;
        return result == MappingSuccess ? freeRow : -1;
    }

    // Brings the binding in line with its users, this keyboard among them while inUse:
    // bound while anyone uses it, bound anew where a keymap change dropped it, removed with
    // its last user, and no lock left on a modifier that no key carries any longer. Returns
    // false when the server refused a new modifier map because a key of it was down.
    bool settleBindingOnce(bool inUse) {
        BindingRecord record = readRecord();
        dropGoneUsers(record);
        if (inUse)
            record.users.push_back(self);
        ModifierMapPtr map(XGetModifierMapping(display.get()));
        if (!map)
            return true;
        const bool intact = record.row >= 0 && hasEntry(*map, record.row, record.keyCode);
        const int lostRow = intact ? -1 : record.row;
        if (intact && record.users.empty()) {
            // Once no key carries the modifier, a lock left on it could never be undone; only
            // our own entry goes, so that changes made by others since stay.
            XkbLockModifiers(display.get(), XkbUseCoreKbd, 1u << record.row, 0);
            map.reset(XDeleteModifiermapEntry(map.release(), record.keyCode, record.row));
            if (map && XSetModifierMapping(display.get(), map.get()) == MappingBusy)
                return false;
            record.row = -1;
        } else if (!intact && !record.users.empty()) {
            const std::optional<int> row = bindScrollLock(map, lostRow);
            if (!row)
                return false;
            record.row = *row;
            record.keyCode = XKeysymToKeycode(display.get(), XK_Scroll_Lock);
        }
        // A lock left on a modifier that a new keymap took from us could never be undone, and
        // the new keymap no longer shows it on the indicator: it goes.
        if (lostRow >= 0)
            XkbLockModifiers(display.get(), XkbUseCoreKbd, 1u << lostRow, 0);
        writeRecord(record);
        return true;
    }

    // Under a server grab, so that copies starting, ending or following a keymap change at the
    // same moment see each other's changes whole. False when refused for a key held down.
    bool settleBinding(bool inUse) {
        if (broken)
            return true;
        XGrabServer(display.get());
        const bool settled = settleBindingOnce(inUse);
        XUngrabServer(display.get());
        XSync(display.get(), False);
        return settled;
    }

    // Held keys are normally let go of soon, but waiting here for them would stall the program
    // (a layout switch hotkey is pressed with modifiers): the event loop tries again shortly.
    void settleWhileRunning() {
        if (!settleBinding(true))
            retry.start();
    }

    // Not waited for: a round trip for each key stroke would have the server and the program
    // wait on each other all the time. Nor sent at once: the strokes of one handler go out
    // together when it has returned to the event loop, in one write that the server takes in
    // one go, so that it notifies every client once rather than at each stroke.
    void fakeKey(KeyCode keyCode, bool press) {
        XTestFakeKeyEvent(display.get(), keyCode, press ? True : False, CurrentTime);
        lastKeyRequest = NextRequest(display.get()) - 1;
        if (!sendPosted)
            QMetaObject::invokeMethod(
                notices.get(), [this] { send(); }, Qt::QueuedConnection);
        sendPosted = true;
    }

    void send() {
        sendPosted = false;
        if (!broken)
            XFlush(display.get());
    }

    // A state read sees our own key strokes: unless the server has told of a later request
    // already, in a reply or an event, it is asked, which brings their notifications along.
    void awaitOwnKeys() {
        if (!broken && LastKnownRequestProcessed(display.get()) < lastKeyRequest)
            XSync(display.get(), False);
    }

    // Set from Xlib once the connection has broken, even while `display` is being closed (hence
    // declared before it): nothing is asked of it any more.
    bool broken = false;
    DisplayPtr display;
    // The event loop reads the server's notifications as they arrive.
    std::unique_ptr<QSocketNotifier> notices;
    QTimer retry;                  // a refused settleBinding(true)
    bool sendPosted = false;       // key strokes wait for send()
    std::array<int, 256> keyCodes; // cached keyCodeOf() per virtual key; -1 not looked up yet
    std::array<KeyCode, 256> pressedAs{};  // X key each virtual key's press went to, until release
    std::bitset<256> pressFailed;          // its release is then swallowed as well
    std::array<Atom, 256> indicators{};    // indicator atom per lock key
    std::array<int, 256> indicatorIndex{}; // its place in indicatorState; -1 for none
    unsigned indicatorState = 0;           // as last notified by the server
    std::bitset<256> lockKeysDown;         // by X key, as last notified by the server
    unsigned long lastKeyRequest = 0;      // of our latest key stroke
    int xkbEventBase = 0;
    Window root = 0;
    Atom recordAtom = 0;
    Window self = 0; // this keyboard's entry among the binding's users
};

X11Keyboard::X11Keyboard(std::unique_ptr<Private> d) : d(std::move(d)) {}

std::unique_ptr<X11Keyboard> X11Keyboard::open(QString* whyNot) {
    auto fail = [whyNot](const QString& why) {
        if (whyNot)
            *whyNot = why;
        return std::unique_ptr<X11Keyboard>();
    };

    DisplayPtr display(XOpenDisplay(nullptr));
    if (!display)
        return fail(whyNoX11Display());
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display.get(), &event, &error, &major, &minor))
        return fail(QStringLiteral("X server lacks the XTEST extension"));
    int opcode = 0;
    major = XkbMajorVersion;
    minor = XkbMinorVersion;
    if (!XkbQueryExtension(display.get(), &opcode, &event, &error, &major, &minor))
        return fail(QStringLiteral("X server lacks a usable XKEYBOARD extension"));

    auto d = std::make_unique<Private>(std::move(display));
    Display* dpy = d->display.get();
    if (!otherIOErrorHandler)
        otherIOErrorHandler = XSetIOErrorHandler(onIOError);
    keyboardDisplays.push_back(dpy);
    XSetIOErrorExitHandler(
        dpy, [](Display*, void* p) { static_cast<Private*>(p)->broken = true; }, d.get());
    d->indicators[LockKeyCode::Num] = XInternAtom(dpy, "Num Lock", False);
    d->indicators[LockKeyCode::Caps] = XInternAtom(dpy, "Caps Lock", False);
    d->indicators[LockKeyCode::Scroll] = XInternAtom(dpy, "Scroll Lock", False);
    d->xkbEventBase = event;
    const unsigned long notifications =
        XkbIndicatorStateNotifyMask | XkbIndicatorMapNotifyMask | XkbNewKeyboardNotifyMask;
    XkbSelectEvents(dpy, XkbUseCoreKbd, notifications, notifications);
    XkbSelectEventDetails(dpy, XkbUseCoreKbd, XkbStateNotify, XkbModifierBaseMask,
                          XkbModifierBaseMask);
    d->lockKeysDown = d->keysDown();
    d->root = DefaultRootWindow(dpy);
    d->recordAtom = XInternAtom(dpy, "_TINTARO_SCROLL_LOCK_BINDING", False);
    d->self = XCreateWindow(dpy, d->root, -1, -1, 1, 1, 0, CopyFromParent, InputOnly,
                            CopyFromParent, 0, nullptr);
    d->retry.setSingleShot(true);
    d->retry.setInterval(50);
    QObject::connect(&d->retry, &QTimer::timeout, [p = d.get()] { p->settleWhileRunning(); });
    d->settleWhileRunning();
    d->readIndicators();
    d->notices = std::make_unique<QSocketNotifier>(ConnectionNumber(dpy), QSocketNotifier::Read);
    QObject::connect(d->notices.get(), &QSocketNotifier::activated,
                     [p = d.get()] { p->followServer(QueuedAfterFlush); });
    return std::unique_ptr<X11Keyboard>(new X11Keyboard(std::move(d)));
}

X11Keyboard::~X11Keyboard() {
    if (d->broken)
        return;
    // A key left down would stay down for every client after we are gone.
    for (int key = 0; key < 256; ++key)
        if (d->pressedAs[key] != 0)
            XTestFakeKeyEvent(d->display.get(), d->pressedAs[key], False, CurrentTime);
    XSync(d->display.get(), False);
    // No later chance: held keys are waited out here, though not for ever. Given up, the lock
    // is off already, and the record still names this keyboard, whose window goes with the
    // connection: the next copy to start finds the binding left over.
    using namespace std::chrono_literals;
    for (int attempt = 0; attempt < 40 && !d->settleBinding(false); ++attempt)
        std::this_thread::sleep_for(50ms);
}

void X11Keyboard::sendKeyEvent(const KeyEvent& event) {
    d->followServer(QueuedAlready);
    if (d->broken)
        return;
    const int key = event.keyCode;
    const bool press = !(event.flags & KeyEventFlag::KeyUp);
    KeyCode target = 0;
    if (press) {
        target = d->keyCodeOf(key);
        d->pressFailed[key] = target == 0;
        if (target != 0)
            d->pressedAs[key] = target;
    } else if (d->pressedAs[key] != 0) {
        // The keymap may have changed since the press.
        target = std::exchange(d->pressedAs[key], 0);
    } else if (d->pressFailed[key]) {
        d->pressFailed[key] = false;
    } else {
        // Not pressed through us, but maybe held by the user.
        target = d->keyCodeOf(key);
    }
    if (target != 0)
        d->fakeKey(target, press);
}

std::int16_t X11Keyboard::keyState(int keyCode) const {
    if (!inRange(keyCode))
        return 0;
    d->awaitOwnKeys();
    d->followServer(QueuedAlready);
    if (d->broken)
        return 0;
    const KeyCode key = d->pressedAs[keyCode] != 0 ? d->pressedAs[keyCode] : d->keyCodeOf(keyCode);
    if (d->indicators[keyCode] == 0) // no lock key: the key map is asked
        return key != 0 && d->keysDown()[key] ? KeyStateBit::Held : std::int16_t(0);
    std::int16_t state = d->indicatorOn(keyCode) ? KeyStateBit::Toggled : 0;
    if (key != 0 && d->lockKeysDown[key])
        state |= KeyStateBit::Held;
    return state;
}
