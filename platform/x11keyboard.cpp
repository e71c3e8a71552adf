#include "x11keyboard.h"

#include <QSocketNotifier>

// Xlib's macros (None, Bool, KeyPress, ...) clash with Qt: included here only, after Qt.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <array>
#include <bitset>
#include <chrono>
#include <thread>
#include <utility>

namespace {

// The X keysym for each virtual-key code the key-sequence sender can produce; 0 for none.
constexpr std::array<KeySym, 256> makeKeysyms() {
    std::array<KeySym, 256> keysyms{};
    keysyms[8] = XK_BackSpace;
    keysyms[9] = XK_Tab;
    keysyms[13] = XK_Return;
    keysyms[16] = XK_Shift_L;
    keysyms[17] = XK_Control_L;
    keysyms[18] = XK_Alt_L;
    keysyms[19] = XK_Pause;
    keysyms[LockKeyCode::Caps] = XK_Caps_Lock;
    keysyms[27] = XK_Escape;
    // Printable characters whose code names no key of their own are typed as that character:
    // Latin-1 keysyms equal their character codes.
    for (int c : {32, 41, 42, 43, 58, 59, 60, 61, 62, 63, 64, 92, 94, 95, 96})
        keysyms[c] = static_cast<KeySym>(c);
    keysyms[33] = XK_Prior;
    keysyms[34] = XK_Next;
    keysyms[35] = XK_End;
    keysyms[36] = XK_Home;
    keysyms[37] = XK_Left;
    keysyms[38] = XK_Up;
    keysyms[39] = XK_Right;
    keysyms[40] = XK_Down;
    keysyms[44] = XK_Print;
    keysyms[45] = XK_Insert;
    keysyms[46] = XK_Delete;
    keysyms[47] = XK_Help;
    for (int i = 0; i < 10; ++i)
        keysyms[48 + i] = XK_0 + i;
    for (int i = 0; i < 26; ++i)
        keysyms[65 + i] = XK_a + i;
    keysyms[91] = XK_Super_L;
    keysyms[93] = XK_Menu;
    for (int i = 0; i < 16; ++i)
        keysyms[112 + i] = XK_F1 + i;
    keysyms[LockKeyCode::Num] = XK_Num_Lock;
    keysyms[LockKeyCode::Scroll] = XK_Scroll_Lock;
    return keysyms;
}

constexpr std::array<KeySym, 256> Keysyms = makeKeysyms();

bool inRange(int keyCode) {
    return keyCode >= 0 && keyCode < 256;
}

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
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

} // namespace

struct X11Keyboard::Private {
    explicit Private(DisplayPtr display) : display(std::move(display)) { keyCodes.fill(-1); }

    // The X key for a virtual key in the current keymap; 0 when it has none.
    KeyCode keyCodeOf(int keyCode) {
        if (!inRange(keyCode) || Keysyms[keyCode] == 0)
            return 0;
        if (keyCodes[keyCode] < 0)
            keyCodes[keyCode] = XKeysymToKeycode(display.get(), Keysyms[keyCode]);
        return static_cast<KeyCode>(keyCodes[keyCode]);
    }

    // Nothing else reads this connection's events. The indicators, and which lock keys are down,
    // are followed from the server's notifications, so that reading a lock key's state costs no
    // round trip; a changed keymap makes the cached key lookups and indicator places stale. `mode`
    // QueuedAfterFlush reads what has arrived; QueuedAlready takes only what round trips have read
    // along, at no cost of a system call.
    void followServer(int mode) {
        while (XEventsQueued(display.get(), mode) > 0) {
            XEvent event;
            XNextEvent(display.get(), &event);
            if (event.type == MappingNotify) {
                XRefreshKeyboardMapping(&event.xmapping);
                keyCodes.fill(-1);
                readIndicators();
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
                } else if (xkb.xkb_type == XkbIndicatorMapNotify ||
                           xkb.xkb_type == XkbNewKeyboardNotify) {
                    readIndicators();
                }
            }
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

    // The server refuses a new modifier map while a key of a changed row is down; held keys
    // are normally let go of soon.
    bool setModifierMapping(XModifierKeymap* map) {
        using namespace std::chrono_literals;
        for (int attempt = 0; attempt < 40; ++attempt) {
            const int result = XSetModifierMapping(display.get(), map);
            if (result != MappingBusy)
                return result == MappingSuccess;
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }

    void bindScrollLock() {
        const KeyCode scrollLock = XKeysymToKeycode(display.get(), XK_Scroll_Lock);
        if (scrollLock == 0)
            return;
        ModifierMapPtr map(XGetModifierMapping(display.get()));
        if (!map)
            return;
        int freeRow = -1;
        for (int row = 0; row < 8; ++row) {
            if (hasEntry(*map, row, scrollLock))
                return; // someone already bound it: leave their setup alone
            if (freeRow < 0 && row >= Mod1MapIndex && rowIsEmpty(*map, row))
                freeRow = row;
        }
        if (freeRow < 0)
            return;
        // The server's XKB compat rules then turn the modifier into the ScrollLock virtual
        // modifier that the "Scroll Lock" indicator follows.
        map.reset(XInsertModifiermapEntry(map.release(), scrollLock, freeRow));
        if (map && setModifierMapping(map.get())) {
            boundKeyCode = scrollLock;
            boundRow = freeRow;
        }
    }

    void unbindScrollLock() {
        if (boundRow < 0)
            return;
        // Only our own entry goes, so that changes made by others since stay; if a new keymap
        // has replaced it, the modifier may be someone else's now.
        ModifierMapPtr map(XGetModifierMapping(display.get()));
        if (!map || !hasEntry(*map, boundRow, boundKeyCode))
            return;
        // Once no key carries the modifier, a lock left on it could never be undone.
        XkbLockModifiers(display.get(), XkbUseCoreKbd, 1u << boundRow, 0);
        map.reset(XDeleteModifiermapEntry(map.release(), boundKeyCode, boundRow));
        if (map)
            setModifierMapping(map.get());
        XSync(display.get(), False);
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
        XFlush(display.get());
    }

    // A state read sees our own key strokes: unless the server has told of a later request
    // already, in a reply or an event, it is asked, which brings their notifications along.
    void awaitOwnKeys() {
        if (LastKnownRequestProcessed(display.get()) < lastKeyRequest)
            XSync(display.get(), False);
    }

    DisplayPtr display;
    // The event loop reads the server's notifications as they arrive.
    std::unique_ptr<QSocketNotifier> notices;
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
    KeyCode boundKeyCode = 0;
    int boundRow = -1; // modifier row we bound Scroll_Lock into
};

X11Keyboard::X11Keyboard(std::unique_ptr<Private> d) : d(std::move(d)) {}

std::unique_ptr<X11Keyboard> X11Keyboard::open(QString* whyNot) {
    auto fail = [whyNot](const QString& why) {
        if (whyNot)
            *whyNot = why;
        return std::unique_ptr<X11Keyboard>();
    };

    DisplayPtr display(XOpenDisplay(nullptr));
    if (!display) {
        const QString name = QString::fromLocal8Bit(XDisplayName(nullptr));
        return fail(name.isEmpty() ? QStringLiteral("cannot open X display: DISPLAY is not set")
                                   : QStringLiteral("cannot open X display \"%1\"").arg(name));
    }
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
    d->bindScrollLock();
    d->readIndicators();
    d->notices = std::make_unique<QSocketNotifier>(ConnectionNumber(dpy), QSocketNotifier::Read);
    QObject::connect(d->notices.get(), &QSocketNotifier::activated,
                     [p = d.get()] { p->followServer(QueuedAfterFlush); });
    return std::unique_ptr<X11Keyboard>(new X11Keyboard(std::move(d)));
}

X11Keyboard::~X11Keyboard() {
    // A key left down would stay down for every client after we are gone.
    for (int key = 0; key < 256; ++key)
        if (d->pressedAs[key] != 0)
            XTestFakeKeyEvent(d->display.get(), d->pressedAs[key], False, CurrentTime);
    XSync(d->display.get(), False);
    d->unbindScrollLock();
}

void X11Keyboard::sendKeyEvent(const KeyEvent& event) {
    d->followServer(QueuedAlready);
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
    const KeyCode key = d->pressedAs[keyCode] != 0 ? d->pressedAs[keyCode] : d->keyCodeOf(keyCode);
    if (d->indicators[keyCode] == 0) // no lock key: the key map is asked
        return key != 0 && d->keysDown()[key] ? KeyStateBit::Held : std::int16_t(0);
    std::int16_t state = d->indicatorOn(keyCode) ? KeyStateBit::Toggled : 0;
    if (key != 0 && d->lockKeysDown[key])
        state |= KeyStateBit::Held;
    return state;
}
