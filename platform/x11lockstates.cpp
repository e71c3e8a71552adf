#include "platform/x11lockstates.h"
#include "platform/keyboard.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace {

constexpr int LockKeys[] = {LockKeyCode::Num, LockKeyCode::Caps, LockKeyCode::Scroll};

} // namespace

void X11LockStates::follow(Display* display) {
    m_display = display;
    const char* names[] = {"Num Lock", "Caps Lock", "Scroll Lock"};
    for (std::size_t i = 0; i < m_indicators.size(); ++i)
        m_indicators[i] = XInternAtom(display, names[i], False);
    const unsigned long notifications = XkbIndicatorStateNotifyMask | XkbIndicatorMapNotifyMask;
    XkbSelectEvents(display, XkbUseCoreKbd, notifications, notifications);
    XkbSelectEventDetails(display, XkbUseCoreKbd, XkbStateNotify, XkbModifierBaseMask,
                          XkbModifierBaseMask);
    m_lockKeysDown = keysDown();
}

bool X11LockStates::take(const XEvent& event, int xkbEventBase) {
    if (event.type != xkbEventBase)
        return false;
    switch (reinterpret_cast<const XkbAnyEvent&>(event).xkb_type) {
    case XkbIndicatorStateNotify:
        m_lit = reinterpret_cast<const XkbIndicatorNotifyEvent&>(event).state;
        return true;
    case XkbStateNotify: {
        // A lock key sets its modifier while down: its press and its release each change the
        // base modifiers, and the notification names the key.
        const auto& state = reinterpret_cast<const XkbStateNotifyEvent&>(event);
        if (state.keycode != 0)
            m_lockKeysDown[state.keycode] = state.event_type == KeyPress;
        return true;
    }
    }
    return false;
}

void X11LockStates::readIndicators() {
    for (std::size_t i = 0; i < m_indicators.size(); ++i)
        if (!XkbGetNamedIndicator(m_display, m_indicators[i], &m_places[i], nullptr, nullptr,
                                  nullptr))
            m_places[i] = -1;
    unsigned state = 0;
    if (XkbGetIndicatorState(m_display, XkbUseCoreKbd, &state) == Success)
        m_lit = state;
}

bool X11LockStates::lit(int lockKey) const {
    for (std::size_t i = 0; i < m_places.size(); ++i)
        if (LockKeys[i] == lockKey)
            return m_places[i] >= 0 && (m_lit & (1u << m_places[i]));
    return false;
}

std::bitset<256> X11LockStates::keysDown() const {
    char keys[32];
    XQueryKeymap(m_display, keys);
    std::bitset<256> down;
    for (int key = 0; key < 256; ++key)
        down[key] = keys[key / 8] & (1 << (key % 8));
    return down;
}
