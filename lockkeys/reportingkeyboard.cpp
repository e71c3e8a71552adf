#include "lockkeys/reportingkeyboard.h"

void ReportingKeyboard::onLockPress(std::function<void(LockKey)> listener) {
    m_listeners.push_back(std::move(listener));
}

void ReportingKeyboard::sendKeyEvent(const KeyEvent& event) {
    m_keyboard.sendKeyEvent(event);
    if (event.flags & KeyEventFlag::KeyUp)
        return;
    for (LockKey key : AllLockKeys)
        if (info(key).keyCode == event.keyCode)
            for (const auto& listener : m_listeners)
                listener(key);
}

std::int16_t ReportingKeyboard::keyState(int keyCode) const {
    return m_keyboard.keyState(keyCode);
}
