#pragma once

#include "platform/keyboard.h"

#include <array>
#include <vector>

// An in-process keyboard: records every injected event and keeps the toggle and held states
// that a real keyboard would, so that tests can watch and steer the lock keys.
class SimulatedKeyboard final : public Keyboard {
public:
    void sendKeyEvent(const KeyEvent& event) override;
    std::int16_t keyState(int keyCode) const override;
    bool canShowLock(int keyCode) const override;

    const std::vector<KeyEvent>& events() const { return m_events; }
    void clearEvents() { m_events.clear(); }

    void setToggled(int keyCode, bool on);
    void setHeld(int keyCode, bool held);
    void setShowable(int keyCode, bool showable);

private:
    std::vector<KeyEvent> m_events;
    std::array<bool, 256> m_toggled{};
    std::array<bool, 256> m_held{};
    std::array<bool, 256> m_unshowable{};
};
