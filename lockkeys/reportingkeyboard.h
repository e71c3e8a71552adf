#pragma once

#include "lockkeys/lockkey.h"
#include "platform/keyboard.h"

#include <functional>
#include <vector>

// A keyboard that forwards everything to another and tells its listeners of every lock-key press
// it forwards: the program's own toggles all pass here, so what it tells is the program's own.
class ReportingKeyboard final : public Keyboard {
public:
    explicit ReportingKeyboard(Keyboard& keyboard) : m_keyboard(keyboard) {}

    void onLockPress(std::function<void(LockKey)> listener);

    void sendKeyEvent(const KeyEvent& event) override;
    std::int16_t keyState(int keyCode) const override;
    bool canShowLock(int keyCode) const override { return m_keyboard.canShowLock(keyCode); }
    void catchUp() override { m_keyboard.catchUp(); }

private:
    Keyboard& m_keyboard;
    std::vector<std::function<void(LockKey)>> m_listeners;
};
