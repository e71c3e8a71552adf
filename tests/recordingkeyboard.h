#pragma once

#include "platform/simulatedkeyboard.h"

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

    const std::vector<KeyEvent>& events() const { return m_events; }
    void clearEvents() { m_events.clear(); }

    void setToggled(int keyCode, bool on) { m_keyboard.setToggled(keyCode, on); }
    void setHeld(int keyCode, bool held) { m_keyboard.setHeld(keyCode, held); }

private:
    SimulatedKeyboard m_keyboard;
    std::vector<KeyEvent> m_events;
};
