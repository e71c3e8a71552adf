#pragma once

#include "platform/simulatedkeyboard.h"

#include <array>
#include <cstdint>
#include <vector>

// A simulated keyboard that also keeps every event injected into it, in order, for a test to
// read. Needs no Qt, so that the fuzz target can use it as well.
class RecordingKeyboard final : public Keyboard {
public:
    void sendKeyEvent(const KeyEvent& event) override {
        m_events.push_back(event);
        m_keyboard.sendKeyEvent(event);
    }
    std::int16_t keyState(int keyCode) const override { return m_keyboard.keyState(keyCode); }
    bool canShowLock(int keyCode) const override { return !m_unshowable[std::uint8_t(keyCode)]; }

    const std::vector<KeyEvent>& events() const { return m_events; }
    void clearEvents() { m_events.clear(); }

    void setToggled(int keyCode, bool on) { m_keyboard.setToggled(keyCode, on); }
    void setHeld(int keyCode, bool held) { m_keyboard.setHeld(keyCode, held); }
    // A lock the desktop gives no LED, as Scroll Lock on some Wayland desktops.
    void setShowable(int keyCode, bool showable) {
        m_unshowable[std::uint8_t(keyCode)] = !showable;
    }

private:
    SimulatedKeyboard m_keyboard;
    std::vector<KeyEvent> m_events;
    std::array<bool, 256> m_unshowable{};
};
