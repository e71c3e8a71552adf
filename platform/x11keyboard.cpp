#include "platform/x11keyboard.h"
#include "platform/looppass.h"
#include "platform/scrolllockbinding.h"
#include "platform/systemkeys.h"
#include "platform/x11connection.h"
#include "platform/x11lockstates.h"

#include <QTimer>

// Xlib's macros (None, Bool, KeyPress, ...) clash with Qt: included here only, after Qt.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <array>
#include <bitset>
#include <utility>
#include <vector>

namespace {

bool inRange(int keyCode) {
    return keyCode >= 0 && keyCode < 256;
}

bool isLockKey(int keyCode) {
    return keyCode == LockKeyCode::Num || keyCode == LockKeyCode::Caps ||
           keyCode == LockKeyCode::Scroll;
}

QString notice(ScrollLockBinding::State state) {
    switch (state) {
    case ScrollLockBinding::State::Toggles:
    case ScrollLockBinding::State::Refused:
        break;
    case ScrollLockBinding::State::NoKey:
        return QStringLiteral("Scroll Lock will not toggle: the X keymap has no Scroll_Lock key.");
    case ScrollLockBinding::State::NoFreeRow:
        return QStringLiteral("Scroll Lock will not toggle: no modifier carries Scroll_Lock, and "
                              "Tintaro finds none of Mod1 to Mod5 free to bind it to (xmodmap "
                              "-pm shows them).");
    }
    return {};
}

} // namespace

struct X11Keyboard::Private {
    explicit Private(X11Keyboard* q) : q(q), sending([this] { send(); }) {
        keyCodes.fill(-1);
        retry.setSingleShot(true);
        retry.setInterval(50);
        QObject::connect(&retry, &QTimer::timeout, q, [this] {
            if (!connection->broken())
                useBinding();
        });
    }

    Display* display() const { return connection->display(); }

    // Follows the server over `fresh`: its notifications, the Scroll Lock binding that this
    // keyboard used over any former connection, the indicators and the lock keys held.
    ScrollLockBinding::State attach(std::unique_ptr<X11Connection> fresh) {
        const auto remembered = binding ? binding->own() : std::nullopt;
        binding.reset();
        // A broken connection may be the caller, in its own call to onBroken.
        retired = std::move(connection);
        connection = std::move(fresh);
        connection->onEvent = [this](const XEvent& event) { follow(event); };
        connection->onBroken = [this] { reconnect(); };
        Display* dpy = display();
        locks.follow(dpy);
        XkbSelectEvents(dpy, XkbUseCoreKbd, XkbNewKeyboardNotifyMask, XkbNewKeyboardNotifyMask);
        // Another client's change of keys or modifiers may move Scroll_Lock, or take its binding.
        const unsigned long mapChanges = XkbKeySymsMask | XkbModifierMapMask | XkbKeyActionsMask;
        XkbSelectEventDetails(dpy, XkbUseCoreKbd, XkbMapNotify, mapChanges, mapChanges);
        keyCodes.fill(-1);
        binding = std::make_unique<ScrollLockBinding>(dpy, remembered);
        const ScrollLockBinding::State state = useBinding();
        locks.readIndicators();
        return state;
    }

    // Held keys are normally let go of soon, but waiting here for them would stall the program
    // (a layout switch hotkey is pressed with modifiers): the event loop tries again shortly.
    ScrollLockBinding::State useBinding() {
        const ScrollLockBinding::State state = binding->use();
        if (state == ScrollLockBinding::State::Refused)
            retry.start();
        return state;
    }

    void follow(const XEvent& event) {
        if (locks.take(event, connection->xkbEventBase()))
            return;
        if (event.type == MappingNotify)
            XRefreshKeyboardMapping(const_cast<XMappingEvent*>(&event.xmapping));
        if (event.type == MappingNotify || event.type == connection->xkbEventBase())
            keymapChanged();
    }

    // The cached key lookups go stale at once; the indicators' places and the Scroll Lock
    // binding are seen to from the event loop, even where a state read came upon the change.
    void keymapChanged() {
        keyCodes.fill(-1);
        later(keymapPosted, &Private::followKeymap);
    }

    // Runs `work` from the event loop, once however often asked before then; `work` clears
    // `posted`.
    void later(bool& posted, void (Private::*work)()) {
        if (!std::exchange(posted, true))
            QMetaObject::invokeMethod(
                q, [this, work] { (this->*work)(); }, Qt::QueuedConnection);
    }

    void followKeymap() {
        keymapPosted = false;
        if (connection->broken())
            return;
        useBinding();
        locks.readIndicators();
    }

    // The X key for a virtual key in the current keymap; 0 when it has none, or when the
    // connection is broken and it was not looked up before.
    KeyCode keyCodeOf(int keyCode) {
        if (!inRange(keyCode) || x11Keysym(keyCode) == 0)
            return 0;
        if (keyCodes[keyCode] < 0 && !connection->broken())
            keyCodes[keyCode] = XKeysymToKeycode(display(), x11Keysym(keyCode));
        return static_cast<KeyCode>(std::max(keyCodes[keyCode], 0));
    }

    // Not waited for: a round trip for each key stroke would have the server and the program
    // wait on each other all the time. Nor sent at once: the strokes of one handler go out
    // together when it has returned to the event loop, in one write that the server takes in
    // one go, so that it notifies every client once rather than at each stroke.
    void fakeKey(KeyCode keyCode, bool press) {
        XTestFakeKeyEvent(display(), keyCode, press ? True : False, CurrentTime);
        lastKeyRequest = connection->lastWritten();
        unsent.push_back({lastKeyRequest, keyCode, press});
        sending.request();
    }

    void send() {
        if (connection->flush())
            unsent.clear();
    }

    // The server keeps what a killed client did (locks, keys held, the binding): a new
    // connection takes up from there, and sends again the strokes it had not told of having
    // taken in.
    void reconnect() {
        if (!connection->broken() || lost)
            return;
        const unsigned long processed = connection->lastProcessed();
        QString whyNot;
        auto fresh = X11Connection::open(&whyNot);
        if (!fresh) {
            lost = true;
            emit q->connectionLost(
                QStringLiteral("the keyboard's connection to the X display was cut and cannot be "
                               "made anew: %1")
                    .arg(whyNot));
            return;
        }
        attach(std::move(fresh));
        lastKeyRequest = 0;
        for (const Stroke& stroke : std::exchange(unsent, {}))
            if (stroke.request > processed)
                fakeKey(stroke.keyCode, stroke.press);
        // Cut again, it is taken as meant.
        if (++cuts > 1) {
            lost = true;
            emit q->connectionLost(
                QStringLiteral("the keyboard's connection to the X display was cut again"));
        }
    }

    struct Stroke {
        unsigned long request;
        KeyCode keyCode;
        bool press;
    };

    X11Keyboard* const q;
    std::unique_ptr<X11Connection> retired; // broken
    std::unique_ptr<X11Connection> connection;
    std::unique_ptr<ScrollLockBinding> binding; // on the connection
    std::array<int, 256> keyCodes; // cached keyCodeOf() per virtual key; -1 not looked up yet
    std::array<KeyCode, 256> pressedAs{}; // X key each virtual key's press went to, until release
    std::bitset<256> pressFailed;         // its release is then swallowed as well
    X11LockStates locks;
    unsigned long lastKeyRequest = 0; // of our latest key stroke
    std::vector<Stroke> unsent;       // since the last send()
    QTimer retry;                     // a binding refused for a key held down
    LoopPass sending;                 // key strokes wait for send()
    bool keymapPosted = false;        // a keymap change waits for followKeymap()
    int cuts = 0;                     // of the connection
    bool lost = false;                // no longer made anew
};

X11Keyboard::X11Keyboard() : d(std::make_unique<Private>(this)) {}

std::unique_ptr<X11Keyboard> X11Keyboard::open(QString* whyNot) {
    auto connection = X11Connection::open(whyNot);
    if (!connection)
        return nullptr;
    std::unique_ptr<X11Keyboard> keyboard(new X11Keyboard);
    const QString limit = notice(keyboard->d->attach(std::move(connection)));
    if (whyNot && !limit.isEmpty())
        *whyNot = limit;
    return keyboard;
}

X11Keyboard::~X11Keyboard() {
    d->reconnect(); // where a cut came just before the end, the cleanup needs a connection
    if (d->connection->broken())
        return;
    // A key left down would stay down for every client after we are gone.
    for (KeyCode key : d->pressedAs)
        if (key != 0)
            XTestFakeKeyEvent(d->display(), key, False, CurrentTime);
    d->binding->release();
}

void X11Keyboard::sendKeyEvent(const KeyEvent& event) {
    d->reconnect();
    if (d->connection->broken())
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

void X11Keyboard::catchUp() {
    d->connection->takeAllSent();
}

// Once the connection has broken, the states last seen.
std::int16_t X11Keyboard::keyState(int keyCode) const {
    if (!inRange(keyCode))
        return 0;
    if (!d->connection->broken())
        d->connection->takeArrived(d->lastKeyRequest);
    const bool broken = d->connection->broken();
    const KeyCode key = d->pressedAs[keyCode] != 0 ? d->pressedAs[keyCode] : d->keyCodeOf(keyCode);
    if (!isLockKey(keyCode)) { // the key map is asked
        const bool held =
            broken ? d->pressedAs[keyCode] != 0 : key != 0 && d->locks.keysDown()[key];
        return held ? KeyStateBit::Held : std::int16_t(0);
    }
    std::int16_t state = d->locks.lit(keyCode) ? KeyStateBit::Toggled : 0;
    if (key != 0 && d->locks.held(key))
        state |= KeyStateBit::Held;
    return state;
}
