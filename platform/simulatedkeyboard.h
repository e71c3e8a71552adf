#pragma once

#include "platform/keyboard.h"

#include <array>

// An in-process keyboard that keeps the toggle and held states a real keyboard would, for a
// session whose real keyboard cannot be reached, and for tests to steer the lock keys.
class SimulatedKeyboard final : public Keyboard {
public:
    void sendKeyEvent(const KeyEvent& event) override;
    std::int16_t keyState(int keyCode) const override;
    // Its own states are all there is to show.
    bool canShowLock(int /*keyCode*/) const override { return true; }

    void setToggled(int keyCode, bool on);
    void setHeld(int keyCode, bool held);

private:
    std::array<bool, 256> m_toggled{};
    std::array<bool, 256> m_held{};
};
