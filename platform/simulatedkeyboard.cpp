#include "platform/simulatedkeyboard.h"

namespace {
bool isLockKey(int keyCode) {
    return keyCode == LockKeyCode::Num || keyCode == LockKeyCode::Caps ||
           keyCode == LockKeyCode::Scroll;
}
bool inRange(int keyCode) {
    return keyCode >= 0 && keyCode < 256;
}
} // namespace

void SimulatedKeyboard::sendKeyEvent(const KeyEvent& event) {
    m_events.push_back(event);
    const bool release = event.flags & KeyEventFlag::KeyUp;
    // A lock key flips its toggle state on the press; auto-repeat of a held key does not.
    if (!release && !m_held[event.keyCode] && isLockKey(event.keyCode))
        m_toggled[event.keyCode] = !m_toggled[event.keyCode];
    m_held[event.keyCode] = !release;
}

std::int16_t SimulatedKeyboard::keyState(int keyCode) const {
    if (!inRange(keyCode))
        return 0;
    std::int16_t state = 0;
    if (m_toggled[keyCode])
        state |= KeyStateBit::Toggled;
    if (m_held[keyCode])
        state |= KeyStateBit::Held;
    return state;
}

void SimulatedKeyboard::setToggled(int keyCode, bool on) {
    if (inRange(keyCode))
        m_toggled[keyCode] = on;
}

void SimulatedKeyboard::setHeld(int keyCode, bool held) {
    if (inRange(keyCode))
        m_held[keyCode] = held;
}

bool SimulatedKeyboard::canShowLock(int keyCode) const {
    return !inRange(keyCode) || !m_unshowable[keyCode];
}

void SimulatedKeyboard::setShowable(int keyCode, bool showable) {
    if (inRange(keyCode))
        m_unshowable[keyCode] = !showable;
}
